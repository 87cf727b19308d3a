// FolderFile: the checks run on the path before a byte is read, so that neither a device nor a
// pipe is ever opened and a file's size is known before it is loaded.
#include "FolderFile.h"

#include <algorithm>

#include "engine/assets/Stream.h"

namespace fs = std::filesystem;

namespace {

bool Inside(const fs::path& folder, const fs::path& path) {
    const auto [end, at] = std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
    return end == folder.end() && at != path.end();
}

bool ClimbsOut(const fs::path& name) {
    return std::any_of(name.begin(), name.end(), [](const fs::path& part) { return part == ".."; });
}

EFolderFileError TooLarge(const fs::path& path, std::uintmax_t maxBytes) {
    return FolderFileError(path, "larger than " + std::to_string(maxBytes) + " bytes");
}

}  // namespace

EFolderFileError FolderFileError(const fs::path& path, const std::string& reason) {
    return EFolderFileError(path.string() + ": " + reason);
}

std::vector<std::uint8_t> ReadFolderFile(const fs::path& folder, const std::string& name, std::uintmax_t maxBytes) {
    const fs::path given = folder / name;
    const fs::path relative(name);
    if (name.empty() || relative.is_absolute() || ClimbsOut(relative)) {
        throw FolderFileError(given, "not a file inside the folder");
    }
    std::error_code failed;
    const fs::path real = fs::canonical(given, failed);
    if (failed) {
        throw FolderFileError(given, failed.message());
    }
    if (!Inside(fs::canonical(folder), real)) {
        throw FolderFileError(given, "leads outside the folder");
    }
    if (!fs::is_regular_file(real, failed)) {
        throw FolderFileError(given, "not a regular file");
    }
    if (fs::file_size(real) > maxBytes) {
        throw TooLarge(given, maxBytes);
    }
    std::vector<std::uint8_t> bytes;
    try {
        bytes = LoadFileBytes(real.string());
    } catch (const EFOpenError&) {
        throw FolderFileError(given, "cannot be read");
    }
    if (bytes.size() > maxBytes) {  // it grew after it was measured
        throw TooLarge(given, maxBytes);
    }
    return bytes;
}
