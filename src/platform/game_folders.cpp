#include "platform/game_folders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/regular_file.h"

namespace fs = std::filesystem;

namespace {

const char* const kGameName = "voltrana";
// The default config.ini is five short lines; a bigger file is not copied whole.
const size_t kMaxConfigBytes = 64 * 1024;

std::string& ConfigPathStore() {
    static std::string path = "config.ini";
    return path;
}

std::string& LogPathStore() {
    static std::string path = "log.txt";
    return path;
}

bool HoldsModels(const std::string& folder) {
    std::error_code ec;
    return !folder.empty() && fs::is_directory(fs::path(folder) / "models", ec);
}

std::string EnvString(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// $XDG_..._HOME when it is an absolute path (a relative one is to be ignored), else HOME/fallback.
std::string XdgFolder(const std::string& set, const std::string& home, const char* fallback) {
    if (!set.empty() && set[0] == '/') return set;
    if (home.empty() || home[0] != '/') return "";
    return (fs::path(home) / fallback).string();
}

// Makes the folder and any missing parent, private to the user as XDG folders are.
bool MakeFolder(const std::string& path, std::string& why) {
    std::string prefix;
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != '/') continue;
        prefix = path.substr(0, i);
        if (::mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) {
            why = std::strerror(errno);
            return false;
        }
    }
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        why = "not a folder";
        return false;
    }
    return true;
}

// The first start: the shipped default settings become the player's config.ini. An existing file is
// never replaced.
void CopyDefaultConfig(const std::string& from, const std::string& to) {
    FILE* in = OpenRegularFile(from.c_str(), "rb");
    if (!in) return;
    std::vector<char> buffer(kMaxConfigBytes);
    const size_t n = std::fread(buffer.data(), 1, buffer.size(), in);
    std::fclose(in);
    FILE* out = std::fopen(to.c_str(), "wbx");
    if (!out) return;
    bool ok = std::fwrite(buffer.data(), 1, n, out) == n;
    ok = std::fclose(out) == 0 && ok;
    if (!ok) std::remove(to.c_str());
}

void Tell(const std::string& line) {
    std::fprintf(stderr, "%s: %s\n", kGameName, line.c_str());
}

}  // namespace

FolderEnv CurrentFolderEnv() {
    FolderEnv env;
    std::error_code ec;
    env.currentDir = fs::current_path(ec).string();
    env.executable = fs::read_symlink("/proc/self/exe", ec).string();
    env.home = EnvString("HOME");
    if (env.home.empty()) {
        if (const passwd* pw = getpwuid(getuid())) env.home = pw->pw_dir ? pw->pw_dir : "";
    }
    env.xdgConfigHome = EnvString("XDG_CONFIG_HOME");
    env.xdgStateHome = EnvString("XDG_STATE_HOME");
    return env;
}

GameFolders FindGameFolders(const FolderEnv& env) {
    GameFolders f;
    const std::string exeDir = env.executable.empty() ? "" : fs::path(env.executable).parent_path().string();
    if (HoldsModels(env.currentDir) || HoldsModels(exeDir)) {
        f.data = HoldsModels(env.currentDir) ? env.currentDir : exeDir;
        f.config = (fs::path(f.data) / "config.ini").string();
        f.log = (fs::path(f.data) / "log.txt").string();
        return f;
    }
    f.installed = true;
    if (!exeDir.empty()) f.data = (fs::path(exeDir) / ".." / "share" / kGameName).lexically_normal().string();
    if (!HoldsModels(f.data))
        f.problem = "no game data: neither the current folder nor " + (f.data.empty() ? "?" : f.data) +
                    " holds models/";
    const std::string configDir = XdgFolder(env.xdgConfigHome, env.home, ".config");
    const std::string stateDir = XdgFolder(env.xdgStateHome, env.home, ".local/state");
    if (!configDir.empty()) f.config = (fs::path(configDir) / kGameName / "config.ini").string();
    if (!stateDir.empty()) f.log = (fs::path(stateDir) / kGameName / "log.txt").string();
    if (f.problem.empty() && (configDir.empty() || stateDir.empty()))
        f.problem = "no home folder (HOME is not set): settings are not kept and no log is written";
    return f;
}

bool UseGameFolders(const GameFolders& folders) {
    if (!folders.problem.empty()) Tell(folders.problem);
    ConfigPathStore() = folders.config;
    LogPathStore() = folders.log;
    // Folders that cannot be made are told together: usually they share one cause.
    std::string failed, consequence;
    auto makeFolderOf = [&](const std::string& file, const char* whatIsLost) {
        const std::string dir = fs::path(file).parent_path().string();
        std::string why;
        if (dir.empty() || MakeFolder(dir, why)) return true;  // empty: the working folder
        failed += (failed.empty() ? "" : ", ") + dir + " (" + why + ")";
        consequence += (consequence.empty() ? "" : " and ") + std::string(whatIsLost);
        return false;
    };
    if (!folders.config.empty() && makeFolderOf(folders.config, "playing with the default settings"))
        CopyDefaultConfig((fs::path(folders.data) / "config.ini").string(), folders.config);
    if (!folders.log.empty()) makeFolderOf(folders.log, "no log.txt is written");
    if (!failed.empty()) Tell("cannot make " + failed + ": " + consequence);
    bool entered = true;
    if (!folders.data.empty() && ::chdir(folders.data.c_str()) != 0) {
        entered = false;
        if (folders.problem.empty())
            Tell("cannot enter the game data folder " + folders.data + " (" + std::strerror(errno) + ")");
    }
    return folders.problem.empty() && failed.empty() && entered;
}

bool SetUpGameFolders() {
    return UseGameFolders(FindGameFolders(CurrentFolderEnv()));
}

const char* ConfigFilePath() {
    return ConfigPathStore().c_str();
}

const char* LogFilePath() {
    return LogPathStore().c_str();
}

std::vector<std::string> GameFolderHelpLines() {
    const GameFolders f = FindGameFolders(CurrentFolderEnv());
    const char* const noHome = "(none: HOME is not set)";
    std::vector<std::string> lines = {
        "Files:",
        "  game data   " + f.data + (HoldsModels(f.data) ? "" : " (not found)"),
        "  settings    " + (f.config.empty() ? noHome : f.config),
        "  log         " + (f.log.empty() ? noHome : f.log),
    };
    lines.push_back(f.installed
                        ? "XDG_CONFIG_HOME and XDG_STATE_HOME move the settings and the log "
                          "(default ~/.config and ~/.local/state)."
                        : "A folder that holds models/ keeps the settings and the log beside the data.");
    return lines;
}
