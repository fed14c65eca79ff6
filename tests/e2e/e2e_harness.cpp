#include "e2e/e2e_harness.h"

#include <gtest/gtest.h>

std::string ConfigText(int detail, int width, int height, int sound) {
    auto n = [](int v) { return std::to_string(v); };
    return "SceneDetail " + n(detail) + "\nScreenWidth " + n(width) + "\nScreenHeight " + n(height) +
           "\nScreenFormat 1\nSoundEnabled " + n(sound);
}

namespace {

nlohmann::json Observe(const nlohmann::json& dump, const std::string& what) {
    if (what == "screen") {
        std::string shown = "none";
        for (const auto& [name, flag] : dump["screens"].items())
            if (flag == 1) shown = shown == "none" ? name : "several";
        return shown;
    }
    if (what.rfind("plays ", 0) == 0 || what.rfind("frames ", 0) == 0) {
        const std::string file = "sounds/" + what.substr(what.find(' ') + 1) + ".wav";
        nlohmann::json frames = nlohmann::json::array();
        for (const auto& e : dump["sounds"]["played"])
            if (e["file"] == file) frames.push_back(e["frame"]);
        return what[0] == 'p' ? nlohmann::json(frames.size()) : frames;
    }
    const nlohmann::json::json_pointer pointer(what);
    return dump.contains(pointer) ? dump[pointer] : nlohmann::json();
}

}  // namespace

void ExpectDumps(const GameFolder& folder, const char* expectations) {
    const nlohmann::json table = nlohmann::json::parse(expectations, nullptr, true, true);
    for (const auto& [name, checks] : table.items()) {
        const nlohmann::json dump = folder.Dump(name);
        if (!dump.is_object()) {
            ADD_FAILURE() << "no dump " << name;
            continue;
        }
        for (const auto& [what, value] : checks.items()) {
            const nlohmann::json seen = Observe(dump, what);
            if (value.is_number_float() && seen.is_number())
                EXPECT_NEAR(seen.get<double>(), value.get<double>(), 0.01) << name << " " << what;
            else
                EXPECT_EQ(seen, value) << name << " " << what;
        }
    }
}

ProcessResult RunDemo(const GameFolder& folder, const ScriptBuilder& script, std::vector<std::string> args) {
    const ProcessResult r = RunProcess(folder.DemoSpec(script.Text(), std::move(args)));
    EXPECT_TRUE(r.EndedCleanly() && r.exitCode == 0) << r.Describe();
    return r;
}
