#include "engine/config.h"

#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/log.h"
#include "platform/game_folders.h"
#include "platform/regular_file.h"

namespace {

// A config file is five short lines; anything past this is not read.
const long kMaxConfigBytes = 64 * 1024;

// Reads the text the way "%s %d" would, one pair at a time: a word (the key, which is skipped whole
// whatever its length), then a decimal integer. A missing number leaves the setting unchanged and the reading
// goes on from where the number should have been, so the next pair takes that word as its key.
class PairReader {
public:
    explicit PairReader(const char* text) : p_(text) {}

    // True when a number was read into the value.
    bool ReadPair(int32_t* value) {
        SkipBlanks();
        if (!*p_) return false;
        while (*p_ && !IsBlank(*p_)) ++p_;
        SkipBlanks();
        return ReadInt(value);
    }

private:
    static bool IsBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }
    void SkipBlanks() {
        while (*p_ && IsBlank(*p_)) ++p_;
    }

    bool ReadInt(int32_t* value) {
        const char* q = p_;
        bool negative = false;
        if (*q == '+' || *q == '-') negative = (*q++ == '-');
        if (!std::isdigit(static_cast<unsigned char>(*q))) return false;
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
        return true;
    }

    const char* p_;
};

// What the last ReadConfig found: whether the file opened, which settings got a number, and the
// log lines that name each setting given its default (logged once the log exists).
bool s_fileRead = false;
unsigned s_given = 0;
std::vector<std::string> s_fallbackLines;

}  // namespace

unsigned ReadConfigText(const char* text) {
    PairReader reader(text);
    int32_t* const settings[5] = {&SceneDetail, &ScreenWidth, &ScreenHeight, &ScreenFormat, &SoundEnabled};
    unsigned given = 0;
    for (int i = 0; i < 5; ++i)
        if (reader.ReadPair(settings[i])) given |= 1u << i;
    return given;
}

bool ReadConfig() {
    s_fileRead = false;
    s_given = 0;
    FILE* f = OpenRegularFile(ConfigFilePath(), "r");
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
    s_fileRead = true;
    s_given = ReadConfigText(text.c_str());
    return true;
}

void ApplyConfigFallbacks() {
    s_fallbackLines.clear();
    if (!s_fileRead) {
        SceneDetail = 0;
        ScreenWidth = 800;
        ScreenHeight = 600;
        ScreenFormat = 1;
        SoundEnabled = 1;
        s_fallbackLines.push_back(
            "config.ini sa nepodarilo precitat: pouzivam 800x600, 32 bitov, detail 0, zvuk zapnuty");
        return;
    }
    struct Rule {
        const char* key;
        int32_t* value;
        int32_t fallback;
        bool (*usable)(int32_t);
    };
    const Rule rules[5] = {
        {"SceneDetail", &SceneDetail, 0, [](int32_t v) { return v >= 0 && v <= 2; }},
        {"ScreenWidth", &ScreenWidth, 800, [](int32_t v) { return v > 0; }},
        {"ScreenHeight", &ScreenHeight, 600, [](int32_t v) { return v > 0; }},
        {"ScreenFormat", &ScreenFormat, 1, [](int32_t v) { return v == 0 || v == 1; }},
        {"SoundEnabled", &SoundEnabled, 1, [](int32_t) { return true; }},
    };
    for (int i = 0; i < 5; ++i) {
        const Rule& r = rules[i];
        const bool given = (s_given >> i) & 1u;
        if (given && r.usable(*r.value)) continue;
        char line[160];
        if (given)
            std::snprintf(line, sizeof line, "config.ini: %s %d je neplatne, pouzivam %d", r.key, *r.value,
                          r.fallback);
        else
            std::snprintf(line, sizeof line, "config.ini: chyba hodnota %s, pouzivam %d", r.key, r.fallback);
        s_fallbackLines.push_back(line);
        *r.value = r.fallback;
    }
}

void LogConfigFallbacks() {
    for (const std::string& line : s_fallbackLines) LogWrite(line.c_str());
}

bool WriteConfig(int32_t sceneDetail, int32_t resolutionIndex, int32_t soundEnabled) {
    static const int kWidths[3] = {640, 800, 1024};
    static const int kHeights[3] = {480, 600, 768};
    // Written beside the old file and renamed over it only when complete, so a write that fails
    // half-way (a full disk) leaves the previous settings whole.
    const std::string temporary = std::string(ConfigFilePath()) + ".new";
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    FILE* f = fd >= 0 ? fdopen(fd, "w") : nullptr;
    if (!f) {
        if (fd >= 0) close(fd);
        LogWrite("Nepodarilo sa zapisat config.ini");
        return false;
    }
    std::fprintf(f, "SceneDetail %d\n", sceneDetail);
    if (resolutionIndex >= 0 && resolutionIndex <= 2)
        std::fprintf(f, "ScreenWidth %d\nScreenHeight %d\n", kWidths[resolutionIndex],
                     kHeights[resolutionIndex]);
    std::fprintf(f, "ScreenFormat 1\n");
    std::fprintf(f, "SoundEnabled %d", soundEnabled);
    bool ok = std::fflush(f) == 0 && !std::ferror(f) && fsync(fileno(f)) == 0;
    ok = (std::fclose(f) == 0) && ok;
    ok = ok && std::rename(temporary.c_str(), ConfigFilePath()) == 0;
    if (!ok) {
        std::remove(temporary.c_str());
        LogWrite("Nepodarilo sa zapisat config.ini");
    }
    return ok;
}
