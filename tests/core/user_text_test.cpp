// Cleaning the text of a hero name so that it always stays on one line.
#include "core/user_text.h"

#include <gtest/gtest.h>

#include <string>

TEST(CleanNameText, ControlCharactersBecomeOneBlankAndTheEndsAreTrimmed) {
    struct Case {
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"Quinn", "Quinn"},
        {"Ann Marie", "Ann Marie"},
        {"Ann\nMarie", "Ann Marie"},
        {"Ann\r\n\r\nMarie", "Ann Marie"},
        {"\tAnn\x7f", "Ann"},
        {std::string("A\0B", 3), "A B"},
        {"\x1b[1mBold", "[1mBold"},
        {"  spaced  ", "spaced"},
        {"Zo\xc3\xab", "Zo\xc3\xab"},  // UTF-8 letters stay
        {"\n\r\t", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(CleanNameText(c.in), c.out);
    }
}
