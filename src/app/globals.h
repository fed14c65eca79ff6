// The long-lived objects of the game are defined in globals.cpp in their construction order; the
// ones only the shell uses are declared here, the others beside their classes.
#pragma once
#include "render/panel.h"
#include "render/text_font.h"

extern Panel g_cursorPanel;
extern TextFont g_smallFont;
