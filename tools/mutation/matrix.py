"""Which faults each test catches, from a campaign's results: python3 matrix.py RESULTS-FOLDER [TEST...]

Prints every test with the faults it catches, those that no other test catches marked with '*', then
the faults nothing caught. Given tests (names or their prefixes), it also lists the faults that would be lost without them.
With a short-circuited campaign the slow suites ran only for faults the faster ones missed, so a
fault is only known to be unique to a fast test within the fast suites; a full matrix knows all."""
import collections
import pathlib
import sys


def main(folder, removed):
    caught = {}
    for f in sorted(pathlib.Path(folder).glob("*.failed")):
        if f.stem != "none":
            caught[f.stem] = {t for t in f.read_text().split("\n") if t}
    by_test = collections.defaultdict(set)
    for fault, tests in caught.items():
        for t in tests:
            by_test[t].add(fault)
    for test in sorted(by_test):
        marked = [f + ("*" if len(caught[f]) == 1 else "") for f in sorted(by_test[test])]
        print(f"{test}: {' '.join(marked)}")
    print("missed:", " ".join(sorted(f for f, t in caught.items() if not t)))
    if removed:
        gone = lambda test: any(test.startswith(r) for r in removed)  # a name or its prefix
        lost = sorted(f for f, t in caught.items() if t and all(gone(test) for test in t))
        print("lost without", " ".join(removed) + ":", " ".join(lost) or "nothing")


main(sys.argv[1], sys.argv[2:])
