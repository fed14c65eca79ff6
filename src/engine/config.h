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
// Reads the five settings from the text of a config file, by position ("%s %d" five times). Returns
// which settings got a number: bit 0 SceneDetail, 1 ScreenWidth, 2 ScreenHeight, 3 ScreenFormat,
// 4 SoundEnabled.
unsigned ReadConfigText(const char* text);
// After ReadConfig: every setting the file left missing or unusable (no file, no number, a width or
// height of 0 or less, a detail outside 0 to 2, a format other than 0 or 1) takes its default:
// detail 0, 800 x 600, format 1, sound on. The lines naming each go to the log with
// LogConfigFallbacks once the log exists.
void ApplyConfigFallbacks();
void LogConfigFallbacks();
// Writes "config.ini" (through a temporary file renamed over the old one); resolutionIndex 0, 1, 2
// is 640x480, 800x600, 1024x768. False when it could not be written (logged; the old file stays).
bool WriteConfig(int32_t sceneDetail, int32_t resolutionIndex, int32_t soundEnabled);
