// A long run at 80 frames per second through every screen with random play: it must end cleanly
// and hold its memory steady between frame 10,000 and frame 100,000.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "soak/soak_script.h"
#include "support/test_support.h"

namespace {

struct MemoryReport {
    long frame = -1;
    long long rss = -1, heap = -1;
};

// "memory NAME frame F rss BYTES heap BYTES" lines of the runner's output, by name.
std::map<std::string, MemoryReport> MemoryReports(const std::string& out) {
    std::map<std::string, MemoryReport> reports;
    for (const std::string& line : Lines(out)) {
        std::istringstream in(line);
        std::string word, name, frameWord, rssWord, heapWord;
        MemoryReport r;
        if (in >> word >> name >> frameWord >> r.frame >> rssWord >> r.rss >> heapWord >> r.heap &&
            word == "memory")
            reports[name] = r;
    }
    return reports;
}

TEST(Soak, RandomPlayForAHundredThousandFramesEndsCleanlyWithSteadyMemory) {
    // VOLTRANA_SOAK_FRAMES shortens the run when trying the test out by hand.
    long frames = 100000;
    if (const char* env = std::getenv("VOLTRANA_SOAK_FRAMES")) frames = std::max(10000L, std::atol(env));
    // The early memory sample: after frame 10,000, or half-way through a run shortened by hand (before
    // frame 10,000 the driver may still be settling, so such a run can report growth that is none).
    const long early = std::min(9999L, frames / 2);

    // The small screen and the low-detail town keep the run short on a software renderer.
    if (const char* path = std::getenv("VOLTRANA_SOAK_SCRIPT")) {
        // Only writes the script, to try it by hand with voltrana-demo.
        WriteFileBytes(path, MakeSoakScript(20240601, frames, early, 640, 480));
        GTEST_SKIP() << "script written to " << path;
    }
    GameFolder folder("SceneDetail 2\nScreenWidth 640\nScreenHeight 480\nScreenFormat 1\nSoundEnabled 1");
    const std::string script = MakeSoakScript(20240601, frames, early, 640, 480);
    ProcessSpec spec = folder.DemoSpec(script, {"--fps", "80", "--seed", "7"});
    spec.timeoutSeconds = 4800;
    const ProcessResult r = RunProcess(spec);

    ASSERT_TRUE(r.started);
    ASSERT_FALSE(r.timedOut);
    ASSERT_EQ(r.signal, 0) << r.err;
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const nlohmann::json end = folder.Dump("end");
    ASSERT_TRUE(end.is_object());
    EXPECT_EQ(end["frame"], frames - 1) << "the run ended early";
    EXPECT_TRUE(end["active"] == 1 && end["screens"]["mainMenu"] == 1) << "the run must end in the main menu";

    // Where the checkpoints found the game: every kind of visit happened, and nearly every one found
    // the screen the script meant (random play may finish a level and shift a few).
    std::map<std::string, int> visits, hits;
    bool nightBeforeEarly = false, dayBeforeEarly = false;
    for (const auto& entry : std::filesystem::directory_iterator(folder.File("out"))) {
        const std::string name = entry.path().stem().string();
        const std::string kind = name.substr(0, name.find('-'));
        if (kind == "end") continue;
        const nlohmann::json d = ReadJson(entry.path().string());
        ASSERT_TRUE(d.is_object()) << name;
        const nlohmann::json& screens = d["screens"];
        bool hit = false;
        if (kind == "credits")
            hit = d["active"] == 1 && screens["credits"] == 1;
        else if (kind == "options")
            hit = d["active"] == 1 && screens["options"] == 1;
        else if (kind == "password")
            hit = d["active"] == 1 && screens["password"] == 1;
        else if (kind == "play") {
            hit = d["active"] == 0 && d["levelDialogShown"] == 0;
            if (hit && d["frame"] < early) (d["isNight"] == 1 ? nightBeforeEarly : dayBeforeEarly) = true;
        } else if (kind == "menu")
            hit = d["active"] == 1 && screens["mainMenu"] == 1;
        ++visits[kind];
        hits[kind] += hit ? 1 : 0;
    }
    // A shortened run (CI's 20,000 frames) makes fewer visits of each kind than the full one.
    const int minVisits = frames >= 100000 ? 5 : 2;
    for (const char* kind : {"credits", "options", "password", "play", "menu"}) {
        EXPECT_GE(visits[kind], minVisits) << kind;
        EXPECT_GE(hits[kind] * 10, visits[kind] * 9) << kind << ": " << hits[kind] << " of " << visits[kind];
    }

    // Memory is compared from a point where both lights have been drawn: what the renderer builds on
    // first use does not count as growth.
    EXPECT_TRUE(nightBeforeEarly && dayBeforeEarly) << "no level by night and by day before the early sample";

    const auto reports = MemoryReports(r.out);
    ASSERT_EQ(reports.count("early"), 1u) << r.out;
    ASSERT_EQ(reports.count("end"), 1u) << r.out;
    std::map<long, MemoryReport> byFrame;
    for (const auto& [name, report] : reports) byFrame[report.frame] = report;
    for (const auto& [frame, report] : byFrame)
        std::printf("soak: after frame %ld resident %.2f MiB, heap %.2f MiB\n", frame, report.rss / 1048576.0,
                    report.heap / 1048576.0);
    const MemoryReport& a = reports.at("early");
    const MemoryReport& b = reports.at("end");
    // Both samples are taken in the main menu: the early one at its first visit after frame 10,000.
    EXPECT_GE(a.frame, early);
    EXPECT_LT(a.frame, early + 5000);
    EXPECT_EQ(b.frame, frames - 1);
    const double rssGrowth = static_cast<double>(b.rss - a.rss) / (1024.0 * 1024.0);
    const double heapGrowth = static_cast<double>(b.heap - a.heap) / (1024.0 * 1024.0);
    std::printf("soak: resident %.2f MiB -> %.2f MiB (%+.3f MiB), heap %+.3f MiB over %ld frames\n",
                a.rss / 1048576.0, b.rss / 1048576.0, rssGrowth, heapGrowth, b.frame - a.frame);
    RecordProperty("rss_growth_kib", static_cast<int>((b.rss - a.rss) / 1024));
    EXPECT_LT(rssGrowth, 1.0);
    EXPECT_LT(heapGrowth, 1.0);
}

}  // namespace
