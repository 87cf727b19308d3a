// What a message box shows of a message: printable, shortened, wrapped.
#include "platform/MessageText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

std::string Joined(const Lines& lines, const char* between) {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : between) + line;
    return text;
}

}  // namespace

TEST(MessageText, ShortPrintableTextStaysAsItIsAndOtherBytesAreEscaped) {
    struct Case {
        std::string Text;
        Lines Expected;
    };
    const Case cases[] = {
        {"Cannot write to: \"Data\\Data.qbx\"!!!", {"Cannot write to: \"Data\\Data.qbx\"!!!"}},
        {"Two  blanks stay", {"Two  blanks stay"}},
        {"", {""}},
        {std::string("Class \x1B[2J\n\x7F\xC3\xA9\0 not found", 25), {"Class \\x1B[2J\\x0A\\x7F\\xC3\\xA9\\x00 not found"}},
        // An escape that does not fit on the line moves whole to the next.
        {std::string(70, 'x') + "\t", {std::string(70, 'x'), "\\x09"}},
        // A run without blanks is cut at the width.
        {std::string(150, 'y'), {std::string(72, 'y'), std::string(72, 'y'), std::string(6, 'y')}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::MessageLines(c.Text), c.Expected) << c.Text;
    }
}

TEST(MessageText, LongTextIsWrappedAtBlanksAndShortened) {
    std::string words;
    for (int i = 0; i < 30; ++i) words += (i > 0 ? " " : "") + std::string(static_cast<std::size_t>(i % 9 + 1), static_cast<char>('a' + i % 26));
    const Lines wrapped = platform::MessageLines(words);
    EXPECT_GT(wrapped.size(), 1u);
    for (const std::string& line : wrapped) {
        EXPECT_LE(line.size(), platform::MessageColumns) << line;
        EXPECT_NE(line.front(), ' ');
        EXPECT_NE(line.back(), ' ');
    }
    EXPECT_EQ(Joined(wrapped, " "), words) << "every word kept, broken only at blanks";

    const Lines cut = platform::MessageLines(std::string(5000, '\x01'));
    const std::string shown = Joined(cut, "");
    EXPECT_EQ(shown.size(), platform::MessageCharacters + 3);
    EXPECT_EQ(shown.substr(shown.size() - 7), "\\x01...");
}
