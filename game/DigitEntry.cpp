// DigitEntry: direction-pad steps on an input field, as typed characters.
#include "game/DigitEntry.h"

#include <cstddef>

#include "game/Texts.h"

namespace DigitEntry {
namespace {

constexpr int Digits = 10;

// The digit `by` steps on from the last one typed (an empty field counts as 0 typed).
std::string Turn(std::string_view text, int by) {
    std::string keys;
    int digit = 0;
    if (!text.empty()) {
        keys.push_back(TMessageBox::Backspace);
        const char last = text.back();
        digit = last >= '0' && last <= '9' ? last - '0' : 0;
    }
    keys.push_back(static_cast<char>('0' + (digit + by + Digits) % Digits));
    return keys;
}

}  // namespace

std::string DigitKeys(std::string_view Text, TDigitStep Step) {
    switch (Step) {
        case TDigitStep::Up:
            return Turn(Text, 1);
        case TDigitStep::Down:
            return Turn(Text, -1);
        case TDigitStep::Add:
            return Text.size() < static_cast<std::size_t>(TMessageBox::MaxInput) ? "0" : "";
        case TDigitStep::Delete:
            return std::string(1, TMessageBox::Backspace);
    }
    return {};
}

}  // namespace DigitEntry
