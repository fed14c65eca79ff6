// The command line as other programs have it: --help and --version print and exit 0, a bad option
// is one line on stderr and status 2; none of them opens a window or touches the folder.
#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

TEST(CommandLine, HelpAndVersionPrintAndAnUnknownOptionFails) {
    struct Case {
        std::vector<std::string> args;
        int status;
        std::vector<std::string> printed;  // on stdout; a failure is one line on stderr
    };
    const Case cases[] = {
        {{"--version"}, 0, {"v1.16"}},
        {{"--lang=en", "--version"}, 0, {"v1.16"}},
        {{"--help"},
         0,
         {"--window", "--fullscreen", "--lang sk|en", "--version", "Alt+Enter", "Escape", "config.ini",
          "log.txt"}},
        {{"--window", "--help"}, 0, {"Usage"}},
        {{"--no-such-option"}, 2, {}},
        {{"--window", "stray"}, 2, {}},
        {{"--lang", "de"}, 2, {}},
        {{"--lang"}, 2, {}},
        {{"--langx", "en"}, 2, {}},
    };
    for (const Case& c : cases) {
        GameFolder folder;
        ProcessSpec spec{{GameExe()}, folder.path(), {}, {"DISPLAY", "WAYLAND_DISPLAY"}, 30};
        spec.argv.insert(spec.argv.end(), c.args.begin(), c.args.end());
        const ProcessResult r = RunProcess(spec);
        SCOPED_TRACE(c.args.back());
        EXPECT_EQ(r.exitCode, c.status) << r.err;
        for (const std::string& text : c.printed) EXPECT_NE(r.out.find(text), std::string::npos) << text;
        EXPECT_EQ(Lines(r.err).size(), c.status ? 1u : 0u) << r.err;
        EXPECT_FALSE(FileExists(folder.File("log.txt")));
    }
}

}  // namespace
