// Demo scripts: one event per line, "FRAME COMMAND ARGS", '#' starts a comment.
#pragma once
#include <string>
#include <vector>

struct ScriptEvent {
    enum Kind { KeyDown, KeyUp, Mouse, ButtonDown, ButtonUp, Shot, Dump, Quit, Memory, Stall };
    int frame = 0;
    Kind kind = Quit;
    int key = 0;       // DIK code for KeyDown/KeyUp
    int button = 0;    // 0 left, 1 right
    int x = 0, y = 0;  // Mouse; x is the milliseconds of a Stall
    std::string name;  // Shot/Dump/Memory
    int line = 0;
};

struct Script {
    std::vector<ScriptEvent> events;  // in frame order, then line order
};

// Parses the text of a script. On a malformed line returns false with error = "LINE: message".
bool ParseScript(const std::string& text, Script& script, std::string& error);
