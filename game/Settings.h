// Settings: the 40-byte "Data\Data.qbx" record that keeps the options and the best score
// between runs. Part of the main window's unit; the values themselves are Main's globals.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace Main {

constexpr std::size_t SettingsRecordSize = 40;
using SettingsRecord = std::array<std::uint8_t, SettingsRecordSize>;

// The path is relative to the current directory, like every data file.
inline const char* const SettingsPath = "Data/Data.qbx";

// Reads the record; any failure yields the full set of defaults. Ends with SetVSynch(VSynchOn).
void LoadSettings();
// Writes the record; a failure shows "Cannot write to: "Data\Data.qbx"!!!" and closing goes on.
void SaveSettings();

// The buffer that lives for the whole run (bytes the program does not own are written back as read).
SettingsRecord& SettingsBuffer();

// Writes the whole record to path through a temporary file renamed over it, so that the old
// file survives any failure. A symbolic link is written through: its target is replaced, with
// the target's permissions. A write-protected file counts as a failure. Returns false when
// anything failed.
bool WriteRecordAtomically(const std::string& path, const SettingsRecord& record);

// Writes a whole file the safe way: into a fresh temporary file of its own in the same folder
// (made exclusively, so nothing already there is written through), renamed over the file when
// complete. A symbolic link is followed only to a regular file, whose permissions the new file
// keeps; a link that leads nowhere or elsewhere, a non-regular file and a write-protected file
// are left alone and count as failures. Returns false when anything failed.
bool WriteFileSafely(const std::string& path, std::string_view contents);

}  // namespace Main
