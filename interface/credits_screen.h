#pragma once
// The credits: a fixed table of entries shown eight to a page on the sepia backdrop; Escape
// released or a mouse-button release turns the page, and the last page returns to the menu.
// ShowCredits itself is declared in interface/screens.h.
#include <cstdint>

// One entry of the credits table. Which fields are set gives its kind: a heading (first line
// only), a credit with a picture (both lines and a picture), a credit without one (both
// lines) and a spacer (nothing).
struct CreditEntry {
    const char* first;
    const char* second;
    const char* picture;  // a picture file of the data tree, or null
};

enum class CreditKind { Heading, WithPicture, WithoutPicture, Spacer };
CreditKind KindOfCredit(const CreditEntry& entry);

constexpr int32_t kCreditsPerPage = 8;
// The table, in display order (interface/credits_table.cpp).
extern const CreditEntry kCredits[];
extern const int32_t kCreditCount;
// How far an entry of that kind moves the next one down.
int32_t CreditEntryHeight(CreditKind kind);
