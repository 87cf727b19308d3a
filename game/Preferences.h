// Preferences: the player's choices that the 40-byte settings record has no room for — window
// or full screen, the window's size, the volumes of effects and music — kept in a small
// key=value text file beside it, "Data/Preferences.ini". Unknown and malformed lines are
// ignored and leave that choice at its default; the file is written the safe way the settings
// are. Depends on the platform's safe file access only.
#pragma once

#include <string>
#include <string_view>

namespace Preferences {

inline const char* const PreferencesPath = "Data/Preferences.ini";

struct TPreferences {
    bool FullScreen = true;
    // The window's client size; 0 x 0 opens it at the largest whole multiple that fits.
    int WindowWidth = 0;
    int WindowHeight = 0;
    // 0 (silent) to 100 (as loud as the sounds themselves).
    int EffectsVolume = 100;
    int MusicVolume = 100;
    friend bool operator==(const TPreferences&, const TPreferences&) = default;
};

// The choices in force; LoadPreferences replaces them, SavePreferences writes them.
inline TPreferences Current;

TPreferences ParsePreferences(std::string_view text);
std::string FormatPreferences(const TPreferences& preferences);

// Reads the file; a missing or unreadable file gives the defaults.
void LoadPreferences();
// Writes the file; a failure is said on stderr and returns false.
bool SavePreferences();

}  // namespace Preferences
