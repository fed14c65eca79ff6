// Every 2D screen of the game and the overlays over the running game, in one object.
#pragma once
#include <cstdint>
#include "render/panel.h"
#include "render/text_font.h"

class Menu {
public:
    uint8_t active = 0;
    Panel background;
    float introTimer = 0.0f;
    Panel wheel, coverBar, titleLogo, logoA, logoB, logoC;
    uint8_t introScreen3 = 0, introScreen1 = 0, introScreen2 = 0;
    float wheelY[2] = {};
    float wheelSpeed[2] = {};
    uint8_t closingScreen = 0;
    Panel theEnd;
    uint8_t mainMenuScreen = 0;
    Panel menuButton;
    int32_t hoveredButton = 0;
    float blinkTimer = 0.0f;
    int32_t blinkCount = 0;
    Panel credits;
    uint8_t creditsScreen = 0;
    uint8_t optionsScreen = 0;
    Panel detailLabel, soundLabel, screenLabel, detailValue, soundValue, screenValue, okButton, cancelButton;
    int32_t optionsHover = 0, resolutionIndex = 0, sceneDetail = 0, soundEnabled = 0;
    uint8_t passwordScreen = 0;
    char passwordInput[9] = {};
    int32_t cursor = 0;
    Panel enterPasswordLabel;
    TextFont passwordFont;
    char levelPasswords[30][6] = {};
    float fadeValue = 0.0f;
    uint8_t fadingIn = 0, fadingToMenu = 0, fadingToNextLevel = 0;
    Panel fadePanel;
    uint8_t messageShown = 0;
    int32_t messageKind = 0;
    float messageTimer = 0.0f;
    Panel messageBox;
    TextFont messageFont;
    TextFont messageSmallFont;
    TextFont levelTitleFont, levelPasswordFont;
    uint8_t levelDialogShown = 0;
    Panel levelDialog;

    void Setup();
    void RunScreen();
    void UpdateFade();
    void UpdateLevelDialog();
};

extern Menu g_menu;
