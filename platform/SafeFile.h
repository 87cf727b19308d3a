// SafeFile: reading and replacing the program's small files of its own (the settings) so that
// nothing but a regular file is ever read or replaced: a FIFO, a device, a socket or a folder in
// a file's place is refused at once, without waiting on it and without writing to it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace platform {

// The first maxBytes bytes of a regular file (fewer when it is shorter); nothing when the path
// names no regular file (symbolic links are followed) or reading fails.
std::optional<std::vector<std::uint8_t>> ReadRegularFile(const std::string& path, std::size_t maxBytes);

// Replaces the file at path with exactly the given bytes, so that the old file survives any
// failure: the bytes go to a fresh temporary file of a unique name made exclusively beside the
// file (never through a link), which is then renamed over it. A symbolic link at path is kept
// and its target replaced, with the target's permissions, when the target is a regular file or
// does not exist yet. Returns false, changing nothing, when the path or the link's target is
// anything but a regular file, when the file is write-protected, or when any step fails.
bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace platform
