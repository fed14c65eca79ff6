// Where the game's files are: its data (models/, sounds/ and the default config.ini), config.ini and
// log.txt.
//
// Run from a folder that holds models/ (the build's runnable folder), everything is in that folder.
// Installed, the data is in ../share/voltrana beside the executable, config.ini in
// $XDG_CONFIG_HOME/voltrana/ (~/.config/voltrana/) and log.txt in $XDG_STATE_HOME/voltrana/
// (~/.local/state/voltrana/); nothing is written to the current folder.
#pragma once
#include <string>
#include <vector>

// What the folders are worked out from.
struct FolderEnv {
    std::string currentDir;     // absolute
    std::string executable;     // absolute path of the running program, empty when unknown
    std::string home;           // $HOME, or the account's home folder
    std::string xdgConfigHome;  // as set in the environment; ignored unless absolute
    std::string xdgStateHome;
};

struct GameFolders {
    std::string data;    // holds models/ and sounds/; the working folder while the game runs
    std::string config;  // config.ini
    std::string log;     // log.txt
    bool installed = false;
    std::string problem;  // one line when the data or a folder for the files cannot be found
};

// The surroundings of this process.
FolderEnv CurrentFolderEnv();
// Decides the folders, touching nothing: the current folder when it holds models/, then the
// executable's own folder when it does, else the installed layout.
GameFolders FindGameFolders(const FolderEnv& env);
// Makes the folders the game's files go into, writes the default config.ini there on the first start,
// enters the data folder and points ConfigFilePath and LogFilePath at the files. A folder that cannot
// be made is told in one line on stderr; the game then plays with its default settings. False when
// something was missing.
bool UseGameFolders(const GameFolders& folders);
// Both at once, for the game's start.
bool SetUpGameFolders();

// Paths of config.ini and log.txt: "config.ini" and "log.txt" in the working folder until
// UseGameFolders says otherwise.
const char* ConfigFilePath();
const char* LogFilePath();

// What the game's help says about its folders, one line each, without making any of them.
std::vector<std::string> GameFolderHelpLines();
