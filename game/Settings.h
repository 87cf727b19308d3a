// Settings: the 40-byte "Data\Data.qbx" record that keeps the options and the best score
// between runs. Part of the main window's unit; the values themselves are Main's globals.
#pragma once

#include <array>
#include <cstdint>

namespace Main {

constexpr std::size_t SettingsRecordSize = 40;
using SettingsRecord = std::array<std::uint8_t, SettingsRecordSize>;

// The path is relative to the current directory, like every data file.
inline const char* const SettingsPath = "Data/Data.qbx";

// Reads the record; any failure yields the full set of defaults (so does anything in the file's
// place that is not a regular file). Ends with SetVSynch(VSynchOn).
void LoadSettings();
// Writes the record (platform::WriteFileAtomically: the old file stays on any failure, and only a
// regular file is replaced); a failure shows "Cannot write to: "Data\Data.qbx"!!!" and closing
// goes on.
void SaveSettings();

// The buffer that lives for the whole run (bytes the program does not own are written back as read).
SettingsRecord& SettingsBuffer();

}  // namespace Main
