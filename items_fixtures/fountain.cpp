#include "items_fixtures/fountain.h"

#include <cstdio>

#include "core/event_log.h"
#include "core/random.h"
#include "creatures/player.h"
#include "creatures/spell.h"
#include "interface/ui_services.h"
#include "levels/object_queue.h"
#include "media/sound.h"

FIXTURE_REGISTRATION(Fountain)

FountainDialogSet FountainDialogs = {ShowFountainDrinkDialog, ShowFountainTextDialog};

namespace {
const char* const kFountainCause = "by ignoring the boil water advisory";
}  // namespace

Fountain::Fountain() { RefreshPicture(); }

Fountain::Fountain(SaveReader& in) : GameObj(in) {
    dry = in.ReadBool() ? 1 : 0;
    RefreshPicture();
}

bool Fountain::Save(SaveWriter& out) {
    bool ok = GameObj::Save(out);
    return out.WriteBool(dry) && ok;
}

void Fountain::RefreshPicture() {
    if (dry != 0) {
        ShowFixtureSprite(*this, "Fountain_dry", "dungeon/fountain_empty.spr", true);
    } else {
        ShowFixtureSprite(*this, "Fountain", "dungeon/fountain.spr", true);
    }
}

void Fountain::Destroy() { QueueObjectDeletion(this); }

int32_t Fountain::Activate() {
    if (dry != 0 || !IsAdjacentToPlayer()) return 0;
    PlaySFX("fountain");
    if (FountainDialogs.askToDrink == nullptr || FountainDialogs.askToDrink() == 0) return 1;
    LogEvent("Player drank from fountain");
    if (!FountainTextList.empty()) {
        const FountainText& record = FountainTextList[MTRandomInt(static_cast<uint32_t>(FountainTextList.size()))];
        if (FountainDialogs.showText != nullptr) FountainDialogs.showText(record.text.c_str());
        Spell* spell = spellDBFindByName(record.name.c_str());
        Player* hero = CurrentPlayer;
        if (spell != nullptr && hero != nullptr) {
            CastSpellWithCause(spell, x, y, hero->x, hero->y, hero, kFountainCause);
        }
    } else {
        std::printf("fountain: the fountain list is empty; the water does nothing\n");
    }
    dry = 1;
    RefreshPicture();
    return 1;
}
