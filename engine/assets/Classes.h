// Classes: the small vocabulary every engine and game unit shares — rectangles, points,
// colour values, saturating truncation, the exception family with the system's formatted
// messages, and the list-range error. Depends on the standard library only.
#pragma once

#include <climits>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <utility>

// 32-bit colour value: red in the low byte, green in the second, blue in the third.
// A high byte of 0x80 names a system colour by index.
using TColor = std::uint32_t;

constexpr TColor RGB(int red, int green, int blue) {
    return static_cast<TColor>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr int GetRValue(TColor c) { return static_cast<int>(c & 0xFF); }
constexpr int GetGValue(TColor c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int GetBValue(TColor c) { return static_cast<int>((c >> 16) & 0xFF); }

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

// Right and bottom are exclusive.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

constexpr TRect Bounds(int left, int top, int width, int height) {
    return TRect{left, top, left + width, top + height};
}

// Overlap means shared area: touching edges and empty rectangles never overlap.
constexpr bool OverlapRect(const TRect& a, const TRect& b) {
    return !a.IsEmpty() && !b.IsEmpty() && a.Left < b.Right && a.Right > b.Left && a.Top < b.Bottom && a.Bottom > b.Top;
}

constexpr bool PtInRect(const TRect& r, TPoint p) {
    return r.Left <= p.X && p.X < r.Right && r.Top <= p.Y && p.Y < r.Bottom;
}

// Drops the fraction toward zero; positions and sizes far beyond the int range (and NaN)
// saturate instead of overflowing.
constexpr int TruncToInt(double value) {
    if (!(value > static_cast<double>(INT_MIN))) {
        return INT_MIN;
    }
    if (value >= static_cast<double>(INT_MAX)) {
        return INT_MAX;
    }
    return static_cast<int>(value);
}

// printf-style formatting of the system's messages ("%s cannot be made", "(%d)").
template <typename... Args>
std::string Format(const char* pattern, Args&&... args) {
    const int size = std::snprintf(nullptr, 0, pattern, std::forward<Args>(args)...);
    if (size <= 0) {
        return pattern;
    }
    std::string text(static_cast<std::size_t>(size) + 1, '\0');
    std::snprintf(text.data(), text.size(), pattern, std::forward<Args>(args)...);
    text.resize(static_cast<std::size_t>(size));
    return text;
}

// Root of every error the engine raises; what() is the message shown to the user. An error met
// while reading a file's contents also carries that file's name, apart from the message.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    const std::string& FileName() const { return FFileName; }
    void SetFileName(std::string fileName) { FFileName = std::move(fileName); }

private:
    std::string FFileName;
};

#define ZARVOTH_DECLARE_EXCEPTION(Name, Base)                                  \
    class Name : public Base {                                                \
    public:                                                                   \
        explicit Name(const std::string& message) : Base(message) {}          \
    }

ZARVOTH_DECLARE_EXCEPTION(EListError, Exception);

// The range error of every indexed list: "List index out of bounds (%d)".
[[noreturn]] inline void RaiseListIndexError(int index) {
    throw EListError(Format("List index out of bounds (%d)", index));
}
