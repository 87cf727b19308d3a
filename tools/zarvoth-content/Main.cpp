// zarvoth-content: writes the game's four data files into a folder; with --preview, writes
// PNG contact sheets of the artwork instead.
#include <cstdio>
#include <string>

#include "tools/zarvoth-content/GameGraphics.h"
#include "tools/zarvoth-content/MenuScreens.h"
#include "tools/zarvoth-content/Music.h"
#include "tools/zarvoth-content/Preview.h"
#include "tools/zarvoth-content/SoundEffects.h"

namespace {

int WritePreviews(const std::string& dir) {
    std::string error;
    const auto game = content::GameGraphics();
    if (!platform::SavePng(dir + "/game.png", content::ContactSheet(game, 2, 1800), error) ||
        !platform::SavePng(dir + "/screen.png", content::GameScreenMockup(game), error)) {
        std::fprintf(stderr, "zarvoth-content: %s\n", error.c_str());
        return 1;
    }
    const auto menu = content::MenuGraphics();
    for (std::size_t i = 0; i < menu.size(); ++i) {
        if (!platform::SavePng(dir + "/menu" + std::to_string(i) + ".png", menu[i].Picture, error)) {
        std::fprintf(stderr, "zarvoth-content: %s\n", error.c_str());
            return 1;
        }
    }
    return 0;
}

// Temporary: raw PCM dumps for listening checks.
int WriteSounds(const std::string& dir) {
    auto sounds = content::SoundEffects();
    sounds.push_back(content::MusicTrack());
    for (const auto& s : sounds) {
        FILE* f = std::fopen((dir + "/" + s.Name + ".raw").c_str(), "wb");
        std::fwrite(s.Samples.data(), 2, s.Samples.size(), f);
        std::fclose(f);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string first = argc > 1 ? argv[1] : "";
    if (first == "--preview" && argc == 3) {
        return WritePreviews(argv[2]);
    }
    if (first == "--sounds" && argc == 3) {
        return WriteSounds(argv[2]);
    }
    std::fprintf(stderr, "usage: zarvoth-content DIR | zarvoth-content --preview DIR\n");
    return 2;
}
