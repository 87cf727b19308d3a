// MessageText: what a message box and the error stream show of a message. Only printable text:
// a byte outside printable ASCII (line breaks and escape characters too) is shown as \xNN, so a
// damaged file's bytes quoted in an engine error can neither drive a terminal nor break the
// layout. At most MessageCharacters characters (then "..."), wrapped at blanks into lines of at
// most MessageColumns characters; a longer run without blanks is cut, never inside an escape.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

constexpr std::size_t MessageColumns = 72;
constexpr std::size_t MessageCharacters = 1024;

std::vector<std::string> MessageLines(std::string_view text);

}  // namespace platform
