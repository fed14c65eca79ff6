#include "demo/script.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <sstream>

#include "platform/dinput.h"

namespace {

bool ParseInt(const std::string& word, int& out) {
    if (word.empty()) return false;
    errno = 0;
    char* end = nullptr;
    long v = std::strtol(word.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE || v < INT_MIN || v > INT_MAX) return false;
    out = static_cast<int>(v);
    return true;
}

// Shot and dump names become file names: keep them to a plain, safe form.
bool IsSafeName(const std::string& name) {
    if (name.empty() || name.size() > 100 || name[0] == '.') return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
               c == '_' || c == '.';
    });
}

}  // namespace

bool ParseScript(const std::string& text, Script& script, std::string& error) {
    std::istringstream lines(text);
    std::string raw;
    int lineNumber = 0;
    auto fail = [&](const std::string& message) {
        error = std::to_string(lineNumber) + ": " + message;
        return false;
    };
    while (std::getline(lines, raw)) {
        ++lineNumber;
        std::string line = raw.substr(0, raw.find('#'));
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string word; words >> word;) w.push_back(word);
        if (w.empty()) continue;

        int frame;
        if (!ParseInt(w[0], frame) || frame < 0) return fail("frame number expected, got '" + w[0] + "'");
        if (w.size() < 2) return fail("command expected after the frame number");
        const std::string& cmd = w[1];
        auto needArgs = [&](size_t n) { return w.size() == n + 2; };
        ScriptEvent e;
        e.frame = frame;
        e.line = lineNumber;

        if (cmd == "key" || cmd == "tap") {
            if (cmd == "key" && !needArgs(2)) return fail("usage: FRAME key NAME down|up");
            if (cmd == "tap" && !needArgs(1)) return fail("usage: FRAME tap NAME");
            const int code = DikFromName(w[2].c_str());
            if (code < 0) return fail("unknown key '" + w[2] + "'");
            e.key = code;
            if (cmd == "tap") {
                e.kind = ScriptEvent::KeyDown;
                script.events.push_back(e);
                e.kind = ScriptEvent::KeyUp;
                e.frame = frame + 1;
            } else if (w[3] == "down") {
                e.kind = ScriptEvent::KeyDown;
            } else if (w[3] == "up") {
                e.kind = ScriptEvent::KeyUp;
            } else {
                return fail("key state must be 'down' or 'up', got '" + w[3] + "'");
            }
            script.events.push_back(e);
        } else if (cmd == "mouse" || cmd == "click") {
            if (!needArgs(2)) return fail("usage: FRAME " + cmd + " X Y");
            if (!ParseInt(w[2], e.x) || !ParseInt(w[3], e.y)) return fail("pixel coordinates expected");
            e.kind = ScriptEvent::Mouse;
            script.events.push_back(e);
            if (cmd == "click") {
                e.kind = ScriptEvent::ButtonDown;
                e.button = 0;
                script.events.push_back(e);
                e.kind = ScriptEvent::ButtonUp;
                e.frame = frame + 1;
                script.events.push_back(e);
            }
        } else if (cmd == "button") {
            if (!needArgs(2)) return fail("usage: FRAME button left|right down|up");
            if (w[2] == "left")
                e.button = 0;
            else if (w[2] == "right")
                e.button = 1;
            else
                return fail("button must be 'left' or 'right', got '" + w[2] + "'");
            if (w[3] == "down")
                e.kind = ScriptEvent::ButtonDown;
            else if (w[3] == "up")
                e.kind = ScriptEvent::ButtonUp;
            else
                return fail("button state must be 'down' or 'up', got '" + w[3] + "'");
            script.events.push_back(e);
        } else if (cmd == "shot" || cmd == "dump" || cmd == "memory") {
            if (!needArgs(1)) return fail("usage: FRAME " + cmd + " NAME");
            if (!IsSafeName(w[2]))
                return fail("name must be letters, digits, '-', '_' or '.': '" + w[2] + "'");
            e.kind = cmd == "shot"   ? ScriptEvent::Shot
                     : cmd == "dump" ? ScriptEvent::Dump
                                     : ScriptEvent::Memory;
            e.name = w[2];
            script.events.push_back(e);
        } else if (cmd == "stall") {
            // The frame lasts this much longer: a suspended laptop, a dragged window, a machine swapping.
            if (!needArgs(1)) return fail("usage: FRAME stall MS");
            if (!ParseInt(w[2], e.x) || e.x < 0 || e.x > 3600000)
                return fail("stall needs milliseconds from 0 to 3600000, got '" + w[2] + "'");
            e.kind = ScriptEvent::Stall;
            script.events.push_back(e);
        } else if (cmd == "quit") {
            if (!needArgs(0)) return fail("usage: FRAME quit");
            e.kind = ScriptEvent::Quit;
            script.events.push_back(e);
        } else {
            return fail("unknown command '" + cmd + "'");
        }
    }
    std::stable_sort(script.events.begin(), script.events.end(),
                     [](const ScriptEvent& a, const ScriptEvent& b) { return a.frame < b.frame; });
    return true;
}
