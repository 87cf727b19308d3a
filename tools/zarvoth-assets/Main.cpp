// zarvoth-assets: lists, extracts, packs and reviews the game's graphics and sound files.
// A file the reader refuses: one line on stderr naming the file and the message, exit status 2.
#include <iostream>
#include <string>

#include "Commands.h"
#include "engine/assets/Classes.h"

namespace {

constexpr int UsageStatus = 1;
constexpr int BadFileStatus = 2;

int Usage() {
    std::cerr << "usage: zarvoth-assets list FILE\n"
                 "       zarvoth-assets extract FILE DIR\n"
                 "       zarvoth-assets pack DIR FILE\n"
                 "       zarvoth-assets sheet FILE OUT.png\n";
    return UsageStatus;
}

int Run(const std::string& command, int argc, char** argv) {
    if (command == "list" && argc == 3) {
        return ListAssets(argv[2], std::cout);
    }
    if (command == "extract" && argc == 4) {
        return ExtractAssets(argv[2], argv[3]);
    }
    if (command == "pack" && argc == 4) {
        return PackAssets(argv[2], argv[3]);
    }
    if (command == "sheet" && argc == 4) {
        return DrawContactSheet(argv[2], argv[3]);
    }
    return Usage();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        return Usage();
    }
    try {
        return Run(argv[1], argc, argv);
    } catch (const Exception& e) {
        std::cerr << "zarvoth-assets: " << argv[2] << ": " << e.what() << '\n';
        return BadFileStatus;
    } catch (const std::exception& e) {
        std::cerr << "zarvoth-assets: " << e.what() << '\n';
        return BadFileStatus;
    }
}
