// Scripted runs of voltrana-demo checked from their dumps: a script builder, and a table of what each
// dump must hold.
#pragma once
#include <string>

#include "support/test_support.h"

// Five settings as the options screen writes them.
std::string ConfigText(int detail = 1, int width = 800, int height = 600, int sound = 1);

// Builds a script line by line.
class ScriptBuilder {
public:
    ScriptBuilder& Add(int frame, const std::string& command) {
        text_ += std::to_string(frame) + " " + command + "\n";
        return *this;
    }
    ScriptBuilder& Tap(int frame, const std::string& key) { return Add(frame, "tap " + key); }
    ScriptBuilder& Hold(int from, int to, const std::string& key) {
        return Add(from, "key " + key + " down").Add(to, "key " + key + " up");
    }
    ScriptBuilder& Mouse(int frame, int x, int y) { return Point(frame, "mouse ", x, y); }
    ScriptBuilder& Click(int frame, int x, int y) { return Point(frame, "click ", x, y); }
    // Down and up within one frame.
    ScriptBuilder& QuickClick(int frame, int x, int y) {
        return Mouse(frame, x, y).Add(frame, "button left down").Add(frame, "button left up");
    }
    ScriptBuilder& Dump(int frame, const std::string& name) { return Add(frame, "dump " + name); }
    ScriptBuilder& Shot(int frame, const std::string& name) { return Add(frame, "shot " + name); }
    // Past the three intro screens with Space at frames 2, 4 and 6.
    ScriptBuilder& SkipIntro() { return Tap(2, "SPACE").Tap(4, "SPACE").Tap(6, "SPACE"); }
    // Types a word on the password screen, a letter every other frame; returns the frame after it.
    int Type(int frame, const std::string& word) {
        for (char c : word) Tap((frame += 2) - 2, std::string(1, c));
        return frame;
    }
    // Q, Z and X held together for one frame: the level counts as completed.
    ScriptBuilder& Complete(int frame) {
        return Hold(frame, frame + 1, "Q").Hold(frame, frame + 1, "Z").Hold(frame, frame + 1, "X");
    }
    const std::string& Text() const { return text_; }

private:
    ScriptBuilder& Point(int frame, const char* what, int x, int y) {
        return Add(frame, what + std::to_string(x) + " " + std::to_string(y));
    }
    std::string text_;
};

// What the dumps must show, as a JSON object (comments allowed) of dumps, each an object of what to look at
// and the value it must have. What to look at is a JSON pointer ("/screens/credits"), "screen" (the one
// screen flag set, or "none" or "several"), "plays FILE" (how often sounds/FILE.wav started since the
// previous dump) or "frames FILE" (the frames at which it started). Numbers written with a decimal point
// compare within 0.01.
void ExpectDumps(const GameFolder& folder, const char* expectations);

// Runs the script in the folder; fails the test unless the runner ended with status 0.
ProcessResult RunDemo(const GameFolder& folder, const ScriptBuilder& script,
                      std::vector<std::string> args = {});

// Main-menu buttons and the level dialog's buttons at 800 x 600.
constexpr int kNewGameX = 479, kNewGameY = 181, kPasswordX = 511, kPasswordY = 238, kCreditsX = 542,
              kCreditsY = 296, kOptionsX = 576, kOptionsY = 354, kExitX = 606, kExitY = 411;
constexpr int kDialogRestartX = 235, kDialogExitX = 400, kDialogOkX = 565, kDialogY = 428;
