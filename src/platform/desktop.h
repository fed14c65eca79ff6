// What a Linux desktop adds to the Windows-shaped window: whether the game starts full screen on the
// desktop (as the game always did) or in a window the player can move and resize.
#pragma once

// Takes effect when the window is created. Alt+Enter switches between the two while the game runs.
void SetStartWindowed(bool windowed);
