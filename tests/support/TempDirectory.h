// Runs a test inside a fresh temporary folder (the program's data paths are relative).
#pragma once

#include <filesystem>
#include <string>

#include <unistd.h>

class TempDirectory {
public:
    TempDirectory() {
        char pattern[] = "/tmp/zarvoth-test-XXXXXX";
        Path = mkdtemp(pattern);
        Previous = std::filesystem::current_path();
        std::filesystem::current_path(Path);
    }
    ~TempDirectory() {
        std::filesystem::current_path(Previous);
        std::error_code ignored;
        std::filesystem::remove_all(Path, ignored);
    }
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    std::filesystem::path Path;

private:
    std::filesystem::path Previous;
};
