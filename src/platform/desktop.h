// What a Linux desktop adds to the Windows-shaped window: whether the game starts full screen on the
// desktop (as the game always did) or in a window the player can move and resize, and why a window
// could not be made.
#pragma once

// Takes effect when the window is created. Alt+Enter switches between the two while the game runs.
void SetStartWindowed(bool windowed);

// Why the last CreateWindowExA that reached a display failed, in the video system's words (an X server
// without GLX: "GLX is not supported"); empty when it failed for want of any display, or did not fail.
const char* WindowFailureReason();

// Called when the connection to the display is lost while the game runs (the X server ended, a remote
// desktop dropped), with the display's name; the process then ends with status 1.
void SetDisplayLostHandler(void (*handler)(const char* display));
