// MessageText: escaping, shortening and wrapping of a message.
#include "platform/MessageText.h"

#include <cstdio>

namespace platform {
namespace {

// The text as printable pieces: a character, or the escape of a byte that is not printable.
std::vector<std::string> PrintablePieces(std::string_view text) {
    std::vector<std::string> pieces;
    std::size_t length = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        std::string piece(1, c);
        if (byte < 0x20 || byte > 0x7E) {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            piece = escape;
        }
        if (length + piece.size() > MessageCharacters) {
            pieces.emplace_back("...");
            break;
        }
        length += piece.size();
        pieces.push_back(std::move(piece));
    }
    return pieces;
}

std::string WithoutTrailingBlanks(std::string line) {
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

}  // namespace

std::vector<std::string> MessageLines(std::string_view text) {
    std::vector<std::string> lines;
    std::string line;
    for (const std::string& piece : PrintablePieces(text)) {
        while (line.size() + piece.size() > MessageColumns) {
            // At the last blank when there is one (a blank that does not fit ends the line).
            const std::size_t blank = piece == " " ? line.size() : line.rfind(' ');
            const std::size_t cut = blank != std::string::npos && blank > 0 ? blank : line.size();
            lines.push_back(WithoutTrailingBlanks(line.substr(0, cut)));
            const std::size_t next = line.find_first_not_of(' ', cut);
            line.erase(0, next == std::string::npos ? line.size() : next);
        }
        if (!(line.empty() && piece == " " && !lines.empty())) {
            line += piece;
        }
    }
    if (!line.empty() || lines.empty()) {
        lines.push_back(WithoutTrailingBlanks(std::move(line)));
    }
    return lines;
}

}  // namespace platform
