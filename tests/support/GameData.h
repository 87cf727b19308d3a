// Data files for tests that start the main window: the four files of the content generator,
// made once per generator build into a folder of the build tree shared by the tests (every test
// runs in a process of its own; a process that loses the race to publish its folder uses the
// winner's). Publishing a newer build's files removes the older ones, so rebuilds do not pile up.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

inline const std::filesystem::path& ContentGenerator() {
    static const std::filesystem::path generator = std::filesystem::path(ZARVOTH_BIN_DIR) / "zarvoth-content";
    return generator;
}

inline std::filesystem::path SharedContent() {
    namespace fs = std::filesystem;
    const auto stamp = fs::last_write_time(ContentGenerator()).time_since_epoch().count();
    const fs::path root = ContentGenerator().parent_path().parent_path() / "test-content";
    const fs::path shared = root / std::to_string(stamp);
    if (!fs::exists(shared)) {
        const std::string unpublished = "new-";
        const fs::path mine = root / (unpublished + std::to_string(getpid()));
        fs::remove_all(mine);
        fs::create_directories(mine);
        const std::string command = ContentGenerator().string() + " " + mine.string() + " > /dev/null";
        if (std::system(command.c_str()) != 0) {
            fs::remove_all(mine);
            return {};
        }
        std::error_code lost;
        fs::rename(mine, shared, lost);
        if (lost) {
            fs::remove_all(mine);
            return shared;
        }
        std::error_code inUse;  // an older folder still being read goes at the next publishing
        for (const fs::directory_entry& older : fs::directory_iterator(root)) {
            if (older.path() != shared && !older.path().filename().string().starts_with(unpublished)) {
                fs::remove_all(older.path(), inUse);
            }
        }
    }
    return shared;
}

// Copies the four data files into ./Data.
inline void ProvideGameData() {
    namespace fs = std::filesystem;
    fs::create_directory("Data");
    const fs::path source = SharedContent();
    for (const char* name : {"GGraphics.dxg", "MGraphics.dxg", "Sound.dxw", "Music.dxw"}) {
        fs::copy_file(source / name, fs::path("Data") / name, fs::copy_options::overwrite_existing);
    }
}
