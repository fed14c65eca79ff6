// Message boxes: recorded for the tests, shown through SDL unless the video driver is headless.
#include <SDL.h>

#include <string>

#include "platform/automation.h"
#include "platform/cp1250.h"
#include "platform/platform_internal.h"

namespace {
std::string s_lastText;
int s_count = 0;
}  // namespace

int MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT) {
    s_lastText = text ? text : "";
    ++s_count;
    if (!platform::VideoIsHeadless()) {
        const std::string utf8Text = Cp1250ToUtf8(s_lastText);
        const std::string utf8Caption = Cp1250ToUtf8(caption ? caption : "");
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, utf8Caption.c_str(), utf8Text.c_str(),
                                 platform::MainWindow());
    }
    return 1;  // IDOK
}

const char* LastMessageBoxText() {
    return s_lastText.c_str();
}
int MessageBoxCount() {
    return s_count;
}
