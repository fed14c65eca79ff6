// What every test process starts with, compiled into each test executable (a static library would
// drop it, nothing referring to it). The game in Slovak, its own language, whatever the locale of the
// machine: the game, and every demo run a test starts, follow LANGUAGE, LC_ALL, LC_MESSAGES and LANG;
// a test of English asks for it with --lang en or sets the variables itself. No sound device and no
// window unless the environment already chose a video driver.
#include <cstdlib>
#include <initializer_list>

namespace {

const bool s_testEnvironment = [] {
    setenv("LANG", "C.UTF-8", 1);
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"}) unsetenv(name);
    setenv("ALSOFT_DRIVERS", "null", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    return true;
}();

}  // namespace
