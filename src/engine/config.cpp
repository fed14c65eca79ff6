#include "engine/config.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <string>

#include "engine/log.h"
#include "platform/game_folders.h"

namespace {

// A config file is five short lines; anything past this is not read.
const long kMaxConfigBytes = 64 * 1024;

// Reads the text the way "%s %d" would, one pair at a time: a word (the key, which is skipped whole
// whatever its length), then a decimal integer. A missing number leaves the setting unchanged and the reading
// goes on from where the number should have been, so the next pair takes that word as its key.
class PairReader {
public:
    explicit PairReader(const char* text) : p_(text) {}

    void ReadPair(int32_t* value) {
        SkipBlanks();
        if (!*p_) return;
        while (*p_ && !IsBlank(*p_)) ++p_;
        SkipBlanks();
        ReadInt(value);
    }

private:
    static bool IsBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }
    void SkipBlanks() {
        while (*p_ && IsBlank(*p_)) ++p_;
    }

    void ReadInt(int32_t* value) {
        const char* q = p_;
        bool negative = false;
        if (*q == '+' || *q == '-') negative = (*q++ == '-');
        if (!std::isdigit(static_cast<unsigned char>(*q))) return;
        long long n = 0;
        while (std::isdigit(static_cast<unsigned char>(*q))) {
            if (n < 10000000000LL) n = n * 10 + (*q - '0');  // saturates below
            ++q;
        }
        if (negative) n = -n;
        if (n > INT32_MAX) n = INT32_MAX;
        if (n < INT32_MIN) n = INT32_MIN;
        *value = static_cast<int32_t>(n);
        p_ = q;
    }

    const char* p_;
};

}  // namespace

void ReadConfigText(const char* text) {
    PairReader reader(text);
    reader.ReadPair(&SceneDetail);
    reader.ReadPair(&ScreenWidth);
    reader.ReadPair(&ScreenHeight);
    reader.ReadPair(&ScreenFormat);
    reader.ReadPair(&SoundEnabled);
}

bool ReadConfig() {
    FILE* f = std::fopen(ConfigFilePath(), "r");
    if (!f) {
        LogWrite("Error reading config.ini");
        return false;
    }
    std::string text;
    char chunk[4096];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0 &&
           static_cast<long>(text.size()) < kMaxConfigBytes)
        text.append(chunk, n);
    std::fclose(f);
    ReadConfigText(text.c_str());
    return true;
}

void ApplyDefaultConfig() {
    SceneDetail = 0;
    ScreenWidth = 800;
    ScreenHeight = 600;
    ScreenFormat = 1;
    SoundEnabled = 1;
}

bool WriteConfig(int32_t sceneDetail, int32_t resolutionIndex, int32_t soundEnabled) {
    static const int kWidths[3] = {640, 800, 1024};
    static const int kHeights[3] = {480, 600, 768};
    FILE* f = std::fopen(ConfigFilePath(), "w");
    if (!f) {
        LogWrite("Nepodarilo sa zapisat config.ini");
        return false;
    }
    std::fprintf(f, "SceneDetail %d\n", sceneDetail);
    if (resolutionIndex >= 0 && resolutionIndex <= 2)
        std::fprintf(f, "ScreenWidth %d\nScreenHeight %d\n", kWidths[resolutionIndex],
                     kHeights[resolutionIndex]);
    std::fprintf(f, "ScreenFormat 1\n");
    std::fprintf(f, "SoundEnabled %d", soundEnabled);
    bool ok = !std::ferror(f);
    ok = (std::fclose(f) == 0) && ok;
    if (!ok) LogWrite("Nepodarilo sa zapisat config.ini");
    return ok;
}
