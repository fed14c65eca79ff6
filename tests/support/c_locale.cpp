// Every test sees the game in Slovak, its own language, whatever the locale of the machine it runs on:
// the game, and every demo run a test starts, follow LANGUAGE, LC_ALL, LC_MESSAGES and LANG. A test of
// English asks for it with --lang en or sets the variables itself.
#include <cstdlib>
#include <initializer_list>

namespace {

const bool s_cLocale = [] {
    setenv("LANG", "C.UTF-8", 1);
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"}) unsetenv(name);
    return true;
}();

}  // namespace
