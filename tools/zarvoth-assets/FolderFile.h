// FolderFile: reads the files an extracted folder names, trusting nothing the folder says — a
// name must lead to a regular file inside the folder (no absolute paths, no "..", no links out),
// no larger than a cap. Refusals are EFolderFileError naming the file and the reason.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

class EFolderFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "<path>: <reason>", the form every refusal of the pack command takes.
EFolderFileError FolderFileError(const std::filesystem::path& path, const std::string& reason);

// The bytes of folder/name when name is a relative path to a regular file of at most maxBytes
// inside the folder.
std::vector<std::uint8_t> ReadFolderFile(const std::filesystem::path& folder, const std::string& name,
                                         std::uintmax_t maxBytes);
