// zarvoth-content: writes the game's four data files into a folder; with --preview, writes
// PNG contact sheets and a game-screen mock-up of the artwork instead; with --icon, writes the
// application icon at one size.
#include <cstdio>
#include <exception>
#include <string>

#include "tools/zarvoth-content/ContentFiles.h"
#include "tools/zarvoth-content/GameGraphics.h"
#include "tools/zarvoth-content/Icon.h"
#include "tools/zarvoth-content/MenuScreens.h"
#include "tools/zarvoth-content/Preview.h"

namespace {

bool WritePreviews(const std::string& folder, std::string& error) {
    const auto game = content::GameGraphics();
    const auto menu = content::MenuGraphics();
    if (!platform::SavePng(folder + "/game.png", content::ContactSheet(game, 2, 1800), error) ||
        !platform::SavePng(folder + "/screen.png", content::GameScreenMockup(game), error)) {
        return false;
    }
    for (std::size_t i = 0; i < menu.size(); ++i) {
        if (!platform::SavePng(folder + "/menu" + std::to_string(i) + ".png", menu[i].Picture, error)) {
            return false;
        }
    }
    return true;
}

int Finish(bool done, const std::string& error) {
    if (!done) {
        std::fprintf(stderr, "zarvoth-content: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string first = argc > 1 ? argv[1] : "";
    try {
        if (argc == 2 && first != "--preview") {
            content::WriteContent(first);
            return 0;
        }
        std::string error;
        if (argc == 3 && first == "--preview") {
            return Finish(WritePreviews(argv[2], error), error);
        }
        if (argc == 4 && first == "--icon") {
            return Finish(content::WriteIcon(argv[2], argv[3], error), error);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zarvoth-content: %s\n", e.what());
        return 1;
    }
    std::fprintf(stderr, "usage: zarvoth-content DIR | zarvoth-content --preview DIR | zarvoth-content --icon SIZE FILE.png\n");
    return 2;
}
