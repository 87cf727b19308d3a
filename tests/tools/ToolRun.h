// ToolRun: runs one of the project's programs from the build's bin folder, its output and errors
// caught in files of a folder, for the tests of the tools. Depends on the shell and on
// ZARVOTH_BIN_DIR.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

struct ToolOutcome {
    int Status = -1;
    std::string Out;
    std::string Err;
};

inline std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline ToolOutcome RunTool(const std::string& tool, const std::string& args, const std::filesystem::path& folder = ".") {
    const std::filesystem::path out = folder / "out.txt";
    const std::filesystem::path err = folder / "err.txt";
    const std::string command = (std::filesystem::path(ZARVOTH_BIN_DIR) / tool).string() + " " + args + " >" +
                                out.string() + " 2>" + err.string();
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadText(out), ReadText(err)};
}
