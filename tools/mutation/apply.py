"""Applies one fault of the fault list to a tree: python3 apply.py FAULTS ID TREE; prints the file."""
import sys


def faults(path):
    found, current = {}, None
    for line in open(path, encoding="latin-1").read().splitlines():
        if line.startswith("@ "):
            fields = line[2:].split()
            current = found[fields[0]] = {"file": fields[1], "nth": int(fields[2]) if len(fields) > 2 else 0,
                                          "from": [], "to": []}
        elif current and line[:2] in ("- ", "+ "):
            current["from" if line[0] == "-" else "to"].append(line[2:])
    return found


def main(path, ident, tree):
    fault = faults(path)[ident]
    name = f"{tree}/{fault['file']}"
    text = open(name, encoding="latin-1").read()
    old, new = "\n".join(fault["from"]), "\n".join(fault["to"])
    count = text.count(old)
    if count == 0 or (fault["nth"] == 0 and count > 1) or fault["nth"] > count:
        sys.exit(f"{ident}: found {count} times in {fault['file']}")
    at = -1
    for _ in range(max(fault["nth"], 1)):
        at = text.index(old, at + 1)
    open(name, "w", encoding="latin-1").write(text[:at] + new + text[at + len(old):])
    print(fault["file"])


main(*sys.argv[1:])
