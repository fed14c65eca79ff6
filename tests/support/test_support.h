// Shared helpers for the tests.
#pragma once
#include <string>

// Makes a fresh empty folder, enters it, and returns to the previous folder (removing it) at the end.
class ScopedTempDir {
public:
    ScopedTempDir();
    ~ScopedTempDir();
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::string previous_;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
