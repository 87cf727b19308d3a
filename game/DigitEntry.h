// DigitEntry: a number typed into a dialog's input field with the four keys of a direction pad —
// up and down turn the last digit, right adds a digit, left deletes one. Each step becomes the
// characters a keyboard would type, so the field's own rules (digits only, six at most) still
// decide. Depends on Texts (the field's length).
#pragma once

#include <string>
#include <string_view>

namespace DigitEntry {

enum class TDigitStep { Up, Down, Add, Delete };

// The characters that make one step on a field holding Text. Up and down turn the last digit
// (9 up gives 0, 0 down gives 9) by deleting it and typing the new one; on an empty field they
// type the first digit, 1 or 9. Add types a 0 while the field has room; Delete is Backspace.
std::string DigitKeys(std::string_view Text, TDigitStep Step);

}  // namespace DigitEntry
