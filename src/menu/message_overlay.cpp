// The short message over the menu: the restart notice after OK in the options, or an invalid
// password. It stays up for 2 s or until a key or a click.
#include "engine/engine.h"
#include "engine/frame_timer.h"
#include "menu/menu_screens.h"
#include "platform/language.h"

namespace {

constexpr float kMessageSeconds = 2.0f;

int32_t Truncated(float v) {
    return static_cast<int32_t>(v);
}

}  // namespace

void SetUpMessageOverlay(Menu& menu) {
    menu.messageShown = 0;
    menu.messageSmallFont.Create(25, 700, "Arial");
    menu.messageFont.Create(35, 700, "Arial");
    menu.messageTimer = 0.0f;
    CreatePanel(menu.messageBox, 513.0f, 128.0f, 135, 0);
}

void RunMessageOverlay(Menu& menu) {
    const float w = static_cast<float>(g_engine.width);
    const float h = static_cast<float>(g_engine.height);

    g_engine.BlendAlpha();
    PlaceAt(menu.messageBox, w / 2.0f, h / 2.0f);
    menu.messageBox.Draw();
    g_engine.BlendOff();

    menu.messageTimer += FrameMillis(0.001f);
    if (menu.messageTimer > kMessageSeconds) {
        // The text is still drawn in this frame.
        menu.messageShown = 0;
        menu.messageTimer = 0.0f;
    }

    const GameTexts& texts = Texts();
    if (menu.messageKind == kMessageRestartNotice) {
        const PlacedText* lines = texts.restartNotice;
        menu.messageSmallFont.Draw(Truncated(w * 0.5f + lines[0].left), Truncated(h * 0.5f - 30.0f), kMenuLit,
                                   lines[0].text);
        menu.messageSmallFont.Draw(Truncated(w * 0.5f + lines[1].left), Truncated(h * 0.5f + 5.0f), kMenuLit,
                                   lines[1].text);
    } else if (menu.messageKind == kMessageInvalidPassword) {
        menu.messageFont.Draw(Truncated(w * 0.5f + texts.invalidPassword.left), Truncated(h * 0.5f - 20.0f),
                              kMenuLit, texts.invalidPassword.text);
    }

    if (KeyPressed(DIK_RETURN) || KeyPressed(DIK_SPACE) || KeyPressed(DIK_ESCAPE) ||
        KeyPressed(DIK_NUMPADENTER) || Clicked()) {
        menu.messageShown = 0;
        menu.messageTimer = 0.0f;
    }
}
