// Digits typed with a direction pad: each step as the characters a keyboard would type.
#include "game/DigitEntry.h"

#include <gtest/gtest.h>

namespace {

using DigitEntry::TDigitStep;

TEST(DigitEntry, StepsTurnTheLastDigitAddAZeroOrDeleteAsTypedKeys) {
    const struct {
        const char* Text;
        TDigitStep Step;
        const char* Keys;
    } cases[] = {
        {"", TDigitStep::Up, "1"},        {"", TDigitStep::Down, "9"},       {"12", TDigitStep::Up, "\b3"},
        {"19", TDigitStep::Up, "\b0"},    {"30", TDigitStep::Down, "\b9"},   {"4", TDigitStep::Down, "\b3"},
        {"9", TDigitStep::Add, "0"},      {"", TDigitStep::Add, "0"},        {"12345", TDigitStep::Add, "0"},
        {"123456", TDigitStep::Add, ""},  {"45", TDigitStep::Delete, "\b"},  {"", TDigitStep::Delete, "\b"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DigitEntry::DigitKeys(c.Text, c.Step), c.Keys) << c.Text << " " << static_cast<int>(c.Step);
    }
}

}  // namespace
