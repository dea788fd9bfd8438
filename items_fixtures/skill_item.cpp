#include "items_fixtures/skill_item.h"

#include <SDL.h>

#include "core/class_registry.h"
#include "creatures/ability.h"
#include "creatures/skill_db.h"
#include "creatures/spell.h"
#include "interface/ui_services.h"
#include "items_fixtures/inventory.h"
#include "levels/tutorial.h"
#include "media/sprite.h"

SERIALIZABLE_REGISTRATION(SkillItem);

namespace {

constexpr const char* kMissingSpellName = "Bug!";
// A tutorial's trigger for using a skill item.
constexpr int32_t kTutorialSkillUsed = 4;

AbilityRecord* AbilityOfSpell(const Spell* spell) {
    if (spell == nullptr) return nullptr;
    for (AbilityRecord* ability : AbilityList) {
        if (ability != nullptr && ability->spell == spell) return ability;
    }
    return nullptr;
}

}  // namespace

Sprite* GetAbilityBigIcon(const AbilityRecord* ability) {
    if (ability == nullptr) return nullptr;
    const std::string key = ability->icon + "_big";
    if (Sprite* shared = SpriteMgr_Find(key.c_str())) return shared;
    if (ability->iconSprite == nullptr) return nullptr;
    // The ability keeps its own picture; the sprite takes a copy.
    SDL_Surface* copy = SDL_ConvertSurface(ability->iconSprite, ability->iconSprite->format, ability->iconSprite->flags);
    if (copy == nullptr) return nullptr;
    Sprite* sprite = new Sprite();
    sprite->InitFromSurface(copy);
    sprite->name = key;
    if (!SpriteMgr_Add(key.c_str(), sprite)) {
        delete sprite;
        return SpriteMgr_Find(key.c_str());
    }
    return sprite;
}

SkillItem::SkillItem() = default;

SkillItem::SkillItem(AbilityRecord* record) : ability(record) {
    spell = record != nullptr ? record->spell : nullptr;
    SetPictures();
}

SkillItem::SkillItem(SaveReader& in) : Item(in) {
    if (!in.version.AtLeast(kSaveV1_0_9)) {
        const int32_t position = in.ReadInt32();
        if (position >= 0 && static_cast<size_t>(position) < SpellList.size()) {
            spell = SpellList[static_cast<size_t>(position)];
        }
    } else {
        const std::string spellName = in.ReadString();
        if (!spellName.empty()) spell = spellDBFindByName(spellName.c_str());
    }
    ability = AbilityOfSpell(spell);
    if (ability != nullptr) SetPictures();
}

void SkillItem::SetPictures() {
    if (spell == nullptr) return;
    cursorSprite = spell->iconSprite;
    bob.SetSprite(spell->iconSprite);
    iconSprite = GetAbilityBigIcon(ability);
}

bool SkillItem::Save(SaveWriter& out) {
    bool ok = Item::Save(out);
    int32_t position = -1;
    for (size_t i = 0; i < SpellList.size() && spell != nullptr; ++i) {
        if (SpellList[i] == spell) {
            position = static_cast<int32_t>(i);
            break;
        }
    }
    // Releases before 1.0.9 hold the position in the spell list.
    if (!out.version.AtLeast(kSaveV1_0_9) || position < 0) return out.WriteInt32(position) && ok;
    return out.WriteString(spell->name) && ok;
}

uint32_t SkillItem::GetClassHash() { return GetRegisteredClassHash("SkillItem"); }
int32_t SkillItem::GetClassIndex() { return GetRegisteredClassIndex("SkillItem"); }

int32_t SkillItem::Use() {
    if (spell == nullptr) return 1;
    SelectedAbility = ability;
    SelectedSkillItem = this;
    ActiveItem = this;
    if (CurrentTutorial != nullptr) NotifyTutorial(kTutorialSkillUsed, spell->name);
    return 1;
}

std::string SkillItem::GetItemName() const {
    return spell != nullptr ? spell->name : kMissingSpellName;
}

std::string SkillItem::GetDescription() {
    return spell != nullptr ? spell->description : kMissingSpellName;
}
