#pragma once
// "Chest of Evil": opening it either lets out a named monster or yields a dark artifact
// weapon. It opens once. Save block after the GameObj block: opened (word).
#include <cstdint>
#include <string>

#include "items_fixtures/fixture.h"

class EvilChest : public GameObj {
public:
    EvilChest();
    explicit EvilChest(SaveReader& in);

    FIXTURE_CLASS_MEMBERS();
    bool IsDoorOrChest() override { return true; }
    std::string GetName() override { return "Chest of Evil"; }
    const char* GetActionVerb() override { return "Open"; }
    void Destroy() override;
    // 0 once opened; else opens it (whatever it holds, even when nothing could be made) and 1.
    int32_t Activate() override;

    int32_t opened = 0;

private:
    void RefreshPicture();
    void ReleaseMonster();
    void GiveArtifact();
};
