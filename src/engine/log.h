// log.txt: recreated with a banner at graphics start-up; every line is appended and the file closed
// again, so the log is complete on disk after each step. Texts are code page 1250 bytes.
#pragma once

void LogInit();
void LogWrite(const char* text);
// printf-style convenience: formats into a local buffer, then LogWrite.
void LogWriteF(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The version line shown on the main menu and logged at start-up.
extern const char* const kVersionLine;
