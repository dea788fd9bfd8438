#pragma once
// Fixtures the hero reads: a "Signpost" of up to ten lines and a book pedestal with a title
// and a text, both set by the room that places them. Reading shows the text over the play
// screen until a key or mouse button is released.
//
// SignPost: no own save words (its lines are not saved; only saves create signposts).
// Pedestal: text (string, from 1.0.4 on; older saves give "This space unintentionally left
// blank."); the title is not saved.
#include <cstdint>
#include <string>

#include "items_fixtures/fixture.h"

class SignPost : public GameObj {
public:
    explicit SignPost(SaveReader& in);

    FIXTURE_CLASS_MEMBERS();
    std::string GetName() override { return "Signpost"; }
    const char* GetActionVerb() override { return "Read Sign"; }
    void Destroy() override;
    // Shows the lines until a key or button is released: 1.
    int32_t Activate() override;

    static constexpr int32_t kLineCount = 10;
    std::string lines[kLineCount];

private:
    void RefreshPicture();
};

class Pedestal : public GameObj {
public:
    Pedestal();
    explicit Pedestal(SaveReader& in);

    FIXTURE_CLASS_MEMBERS();
    std::string GetName() override { return title; }
    const char* GetActionVerb() override { return "Read Book"; }
    // Shows the text on the scroll until a key or button is released: 1.
    int32_t Activate() override;

    std::string text;
    std::string title;

private:
    void RefreshPicture();
};

// The text an old save's pedestal reads.
extern const char* const kBlankPedestalText;
