// Data files for tests that start the main window: the generated ones when the build made them,
// otherwise empty sound lists (enough for the window to start).
#pragma once

#include <filesystem>

#include "engine/sound/WaveCollection.h"

inline void ProvideGameData() {
    namespace fs = std::filesystem;
    fs::create_directory("Data");
    const fs::path generated = fs::path(ZARVOTH_BIN_DIR) / ".." / "run" / "Data";
    for (const char* name : {"GGraphics.dxg", "MGraphics.dxg", "Sound.dxw", "Music.dxw"}) {
        if (fs::exists(generated / name)) {
            fs::copy_file(generated / name, fs::path("Data") / name, fs::copy_options::overwrite_existing);
        }
    }
    for (const char* name : {"Data/Sound.dxw", "Data/Music.dxw"}) {
        if (!fs::exists(name)) {
            TWaveCollection empty;
            empty.SaveToFile(name);
        }
    }
}
