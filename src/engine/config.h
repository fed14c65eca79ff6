// config.ini: five settings read by position at start-up, written whole by the options screen.
#pragma once
#include <cstdint>

extern int32_t SceneDetail;
extern int32_t ScreenWidth;
extern int32_t ScreenHeight;
extern int32_t ScreenFormat;
extern int32_t SoundEnabled;

// Reads config.ini (ConfigFilePath). Returns false (and logs) when the file cannot be opened.
bool ReadConfig();
// Reads the five settings from the text of a config file, by position ("%s %d" five times).
void ReadConfigText(const char* text);
// When no file could be read: 800 x 600, 32-bit, scene detail 0, sound on (logged).
void ApplyDefaultConfig();
// Writes "config.ini"; resolutionIndex 0, 1, 2 is 640x480, 800x600, 1024x768. False when it could not
// be written (logged).
bool WriteConfig(int32_t sceneDetail, int32_t resolutionIndex, int32_t soundEnabled);
