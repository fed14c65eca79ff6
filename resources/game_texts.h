// Every text the player reads, once per language: the words the content generator paints into the
// bitmaps and the texts the game draws with fonts. Slovak is the game's own language. Like every text of
// the game these are code page 1250 bytes; the generator turns them into UTF-8 to paint them.
#pragma once

enum class Language { kSlovak, kEnglish };

// A line drawn with a font, and where its left edge sits: pixels from the screen's centre.
struct PlacedText {
    const char* text;
    int left;
};

struct GameTexts {
    // Drawn with fonts by the game.
    PlacedText loading;           // the one frame shown while the game loads
    PlacedText invalidPassword;   // message after a password that matches no level
    PlacedText restartNotice[2];  // message after OK in the options, two lines
    PlacedText levelTitle;        // level dialog, printf format of the level number
    PlacedText levelPassword;     // level dialog, printf format of the password (%.*s)
    const char* deviceError;      // message boxes when the graphics device cannot start
    const char* deviceIncompatible;
    // Painted into bitmaps by the generator.
    const char* menuButtons[5];   // 137 to 151, three images each
    const char* theEnd;           // 152
    const char* credits[10];      // 163: headings and lines, in the painter's order
    const char* soundValues[2];   // 162 off, 176 on
    const char* detailLabel;      // 165
    const char* detailValues[3];  // 166 to 168
    const char* enterPassword;    // 169
    const char* screenLabel;      // 170
    const char* resolutions[3];   // 171 to 173
    const char* ok;               // 174
    const char* cancel;           // 175
    const char* soundLabel;       // 177
    const char* lotExit;          // 196, painted on the exit cell of the lot
    const char* depotSign;        // 217 to 220, under the game's name on the depot's sign
    const char* shelterPoster;    // 224, the poster in the bus shelter
};

inline constexpr GameTexts kSlovakTexts = {
    {"Moment pros\xEDm", -96},
    {"Heslo neplatn\xE9", -100},
    {{"Nastavenia sa prejavia a\x9E po re\x9Atarte programu", -235},
     {"Nastaven\xED se projev\xED a\x9E po restartu programu", -230}},
    {"LEVEL %d", -112},
    {"Heslo: %.*s", -89},
    "Error pri vytv\xE1"
    "ran\xED Direct3D9",
    "Va\x9A"
    "a karta nieje kompatibiln\xE1 s Direct3D9",
    {"NOV\xC1 HRA", "HESLO", "KREDITY", "MO\x8ENOSTI", "EXIT"},
    "KONIEC",
    {"Grafika:", "cel\xE1 kresba je", "generovan\xE1 programom", "pri zostaven\xED hry", "Program:",
     "t\xEDm hry Voltrana", "C++, SDL2, OpenGL", "Zvuky:", "syntetizovan\xE9", "pri zostaven\xED hry"},
    {"Vypnut\xFD", "Zapnut\xFD"},
    "Detail sc\xE9ny:",
    {"Maximum", "Optimum", "Minimum"},
    "Vlo\x9E heslo:",
    "Obrazovka:",
    {"640x480", "800x600", "1024x768"},
    "OK",
    "STORNO",
    "Zvuk:",
    "V\xDDJAZD",
    "AUTOBUSY",
    "LINKA 7",
};

inline constexpr GameTexts kEnglishTexts = {
    {"Please wait", -86},
    {"Invalid password", -120},
    {{"The new settings take effect", -138}, {"when the game is restarted", -133}},
    {"LEVEL %d", -112},
    {"Password: %.*s", -131},
    "Error creating Direct3D9",
    "Your card is not compatible with Direct3D9",
    {"NEW GAME", "PASSWORD", "CREDITS", "OPTIONS", "EXIT"},
    "THE END",
    {"Graphics:", "all the art is", "drawn by a program", "when the game is built", "Program:",
     "the Voltrana team", "C++, SDL2, OpenGL", "Sounds:", "synthesised", "when the game is built"},
    {"Off", "On"},
    "Scene detail:",
    {"Maximum", "Medium", "Minimum"},
    "Password:",
    "Screen:",
    {"640x480", "800x600", "1024x768"},
    "OK",
    "CANCEL",
    "Sound:",
    "EXIT",
    "BUSES",
    "ROUTE 7",
};

inline constexpr const GameTexts& TextsOf(Language language) {
    return language == Language::kEnglish ? kEnglishTexts : kSlovakTexts;
}
