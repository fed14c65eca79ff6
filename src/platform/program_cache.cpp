// Linked shader programs kept between runs as OpenGL program binaries: loading one takes a
// millisecond where compiling and linking takes tens, and spares the compiler's own memory.
#include "platform/program_cache.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/automation.h"
#include "platform/game_folders.h"

namespace platform {
namespace {

constexpr char kMagic[4] = {'V', 'P', 'B', '1'};

uint64_t Hash(const std::string& text, uint64_t h = 0xCBF29CE484222325ull) {
    for (unsigned char c : text) {
        h ^= c;
        h *= 0x100000001B3ull;
    }
    return h;
}

// The file for a program's sources on this OpenGL implementation (another driver or version
// cannot read the binaries of this one, so it looks for other files).
std::filesystem::path CacheFile(const std::string& sources) {
    const auto text = [](GLenum name) {
        const GLubyte* s = glGetString(name);
        return s ? std::string(reinterpret_cast<const char*>(s)) : std::string();
    };
    const uint64_t h =
        Hash(sources, Hash(text(GL_VENDOR) + '\n' + text(GL_RENDERER) + '\n' + text(GL_VERSION)));
    char name[32];
    std::snprintf(name, sizeof name, "%016llx.bin", static_cast<unsigned long long>(h));
    return std::filesystem::path(ProgramCacheFolder()) / "program-cache" / name;
}

bool CanUseBinaries() {
    if (!GetSpeedLevers().programBinaries) return false;
    GLint formats = 0;
    glGetIntegerv(GL_NUM_PROGRAM_BINARY_FORMATS, &formats);
    return formats > 0;
}

}  // namespace

std::string ProgramCacheFolder() {
    const std::filesystem::path folder = std::filesystem::path(ConfigFilePath()).parent_path();
    return folder.empty() ? "." : folder.string();
}

GLuint LoadCachedProgram(const std::string& sources) {
    if (!CanUseBinaries()) return 0;
    std::ifstream in(CacheFile(sources), std::ios::binary);
    if (!in) return 0;
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() <= 8 || !std::equal(kMagic, kMagic + 4, bytes.begin())) return 0;
    uint32_t format = 0;
    std::copy(bytes.begin() + 4, bytes.begin() + 8, reinterpret_cast<char*>(&format));
    const GLuint program = glCreateProgram();
    // OpenGL checks the binary itself and refuses one it cannot use.
    glProgramBinary(program, format, bytes.data() + 8, static_cast<GLsizei>(bytes.size() - 8));
    GLint ok = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (ok) return program;
    glDeleteProgram(program);
    return 0;
}

void SaveCachedProgram(GLuint program, const std::string& sources) {
    if (!CanUseBinaries()) return;
    GLint length = 0;
    glGetProgramiv(program, GL_PROGRAM_BINARY_LENGTH, &length);
    if (length <= 0) return;
    std::vector<char> binary(static_cast<size_t>(length));
    GLenum format = 0;
    glGetProgramBinary(program, length, nullptr, &format, binary.data());
    const std::filesystem::path file = CacheFile(sources);
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    // Written beside and renamed, so that another instance never reads half a file.
    const std::filesystem::path partial = file.string() + "." + std::to_string(getpid());
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        const uint32_t format32 = format;
        out.write(kMagic, 4);
        out.write(reinterpret_cast<const char*>(&format32), 4);
        out.write(binary.data(), length);
        if (!out) {
            out.close();
            std::filesystem::remove(partial, ec);
            return;
        }
    }
    std::filesystem::rename(partial, file, ec);
    if (ec) std::filesystem::remove(partial, ec);
}

}  // namespace platform
