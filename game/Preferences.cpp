// Preferences: reading and writing "Data/Preferences.ini" (see Preferences.h).
#include "game/Preferences.h"

#include <charconv>
#include <cstdio>
#include <span>

#include "platform/SafeFile.h"

namespace Preferences {
namespace {

// Far more than the file ever holds; a larger one is read this far and no further.
constexpr std::size_t LargestFile = 64 * 1024;
constexpr int LargestWindowSide = 16384;

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// A whole decimal number within [low, high], or nothing.
bool ParseNumber(std::string_view text, int low, int high, int& value) {
    int parsed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (error != std::errc{} || end != text.data() + text.size() || parsed < low || parsed > high) {
        return false;
    }
    value = parsed;
    return true;
}

void ApplyLine(std::string_view key, std::string_view value, TPreferences& preferences) {
    if (key == "Display") {
        if (value == "FullScreen" || value == "Window") {
            preferences.FullScreen = value == "FullScreen";
        }
    } else if (key == "WindowWidth") {
        ParseNumber(value, 0, LargestWindowSide, preferences.WindowWidth);
    } else if (key == "WindowHeight") {
        ParseNumber(value, 0, LargestWindowSide, preferences.WindowHeight);
    } else if (key == "EffectsVolume") {
        ParseNumber(value, 0, 100, preferences.EffectsVolume);
    } else if (key == "MusicVolume") {
        ParseNumber(value, 0, 100, preferences.MusicVolume);
    }
}

}  // namespace

TPreferences ParsePreferences(std::string_view text) {
    TPreferences preferences;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = Trimmed(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        const std::size_t equals = line.find('=');
        if (line.empty() || line.front() == '#' || equals == std::string_view::npos) {
            continue;
        }
        ApplyLine(Trimmed(line.substr(0, equals)), Trimmed(line.substr(equals + 1)), preferences);
    }
    // A size needs both of its sides.
    if (preferences.WindowWidth == 0 || preferences.WindowHeight == 0) {
        preferences.WindowWidth = preferences.WindowHeight = 0;
    }
    return preferences;
}

std::string FormatPreferences(const TPreferences& preferences) {
    return "# Zarvoth Mutador: the player's choices (Data.qbx keeps the options and the best score).\n"
           "# Display is FullScreen or Window; a window size of 0 x 0 fits the screen; volumes are 0 to 100.\n"
           "Display=" + std::string(preferences.FullScreen ? "FullScreen" : "Window") + "\n" +
           "WindowWidth=" + std::to_string(preferences.WindowWidth) + "\n" +
           "WindowHeight=" + std::to_string(preferences.WindowHeight) + "\n" +
           "EffectsVolume=" + std::to_string(preferences.EffectsVolume) + "\n" +
           "MusicVolume=" + std::to_string(preferences.MusicVolume) + "\n";
}

void LoadPreferences() {
    const auto bytes = platform::ReadRegularFile(PreferencesPath, LargestFile);
    Current = bytes ? ParsePreferences(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()))
                    : TPreferences{};
}

bool SavePreferences() {
    const std::string text = FormatPreferences(Current);
    const std::span bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    if (platform::WriteFileAtomically(PreferencesPath, bytes)) {
        return true;
    }
    std::fprintf(stderr, "Zarvoth Mutador: cannot write to \"%s\"; the choices of this run are not kept.\n",
                 PreferencesPath);
    return false;
}

}  // namespace Preferences
