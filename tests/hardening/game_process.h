// Runs the real game or the demo runner as a child process in a folder of its own, with a chosen
// environment and a time limit, and tells how it ended.
#pragma once
#include <string>
#include <utility>
#include <vector>

struct ProcessResult {
    bool started = false;
    bool timedOut = false;  // killed at the time limit
    int signal = 0;         // the signal that ended it, 0 when it exited
    int exitCode = -1;
    std::string out;
    std::string err;
};

struct ProcessSpec {
    std::vector<std::string> argv;
    std::string folder;                                    // working folder of the child
    std::vector<std::pair<std::string, std::string>> set;  // environment variables to set
    std::vector<std::string> unset;                        // and to remove
    double timeoutSeconds = 120.0;
    bool asUnprivileged = false;  // when run by root, run the child as nobody so permissions apply
};

ProcessResult RunProcess(const ProcessSpec& spec);

// A fresh folder laid out like the runnable folder: config.ini (given text, or the shipped one when
// config is null), and models/ and sounds/ linked to the built content unless left out.
class GameFolder {
public:
    explicit GameFolder(const char* config = nullptr, bool withModels = true, bool withSounds = true);
    ~GameFolder();
    const std::string& path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    // Writes a demo script into the folder and returns its path.
    std::string WriteScript(const std::string& text) const;

private:
    std::string path_;
};

// The demo runner on a script in the folder: --out goes to a folder beside it, writable by anyone.
ProcessSpec DemoSpec(const GameFolder& folder, const std::string& script,
                     std::vector<std::string> extra = {});
std::string DemoExe();
std::string GameExe();
// Lines of text (without their line feeds), empty lines dropped.
std::vector<std::string> Lines(const std::string& text);
