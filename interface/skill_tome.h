#pragma once
// The skill tome, where the hero spends skill points on the next ability of a skill, and the
// ability belt picker, the pop-up above an ability-belt slot listing the learned abilities
// that can go on the belt. ShowSkillTome is declared in interface/dialogs.h;
// PickAbilityForBeltSlot and CountSkillSlotsWithAbilities in interface/hud.h.
#include <cstdint>
#include <vector>

struct AbilityRecord;

// The first of the hero's seven skill slots the tome shows (0..2); kept between openings.
extern int32_t TomeScroll;
constexpr int32_t kTomeScrollMax = 2;
constexpr int32_t kTomeRows = 5;

// left <= x <= right and top <= y <= bottom.
bool PointInRect(int32_t x, int32_t y, int32_t left, int32_t top, int32_t right, int32_t bottom);
// Raises the hero's level in the slot holding that skill by one.
void IncrementSkillLevel(int32_t skillId);
// The ability belongs to the skill of that slot, casts a spell, and the hero's level in the
// skill is above the ability's level; a polymorphed-only ability needs the hero polymorphed,
// and while polymorphed the ability's tag must be the form's.
bool CanPutAbilityOnBelt(const AbilityRecord* ability, int32_t skillSlot);
// Awards every achievement the skill's records name (the local store keeps them).
void SetSkillMasteryAchievement(int32_t skillId);
// The ability can be learned now: the hero has a point to spend, holds the skill, and its
// level in the skill equals the ability's level.
bool AbilityLearnable(const AbilityRecord* ability);
// Learns the ability: takes off and puts back the hero's weapons (references 13, 12 and 19
// with slots 1, 2 and 8) around the level-up, spends one point, plays "prayer", recalculates
// the hero; awards the skill's achievement when nothing of the skill lies higher; puts a skill
// item of it into the first empty ability-belt slot. False when it is not learnable.
bool LearnAbility(AbilityRecord* ability);
// Moves TomeScroll by delta within 0..2.
void ScrollTome(int32_t delta);
// The picture index (0..3) of a tome arrow: 3 when the list cannot move that way.
int32_t TomeArrowPicture(bool up, bool hovered, bool held);

// The picker's rows: for the skill slots 0..6 in order, the abilities of each slot that pass
// CanPutAbilityOnBelt (slots without any make no row).
std::vector<std::vector<AbilityRecord*>> AbilityPickerRows();
// The picker's ability under a screen point for belt slot b; null for none.
AbilityRecord* AbilityPickerAt(int32_t beltSlot, int32_t mx, int32_t my);
// Puts a skill item of the ability into belt slot b, selects and uses it; the item it replaces
// goes through the deletion queue with every reference to it cleared.
void PutAbilityInBeltSlot(int32_t beltSlot, AbilityRecord* ability);
void DrawAbilityPicker(int32_t beltSlot);
void ShowAbilityPickerTooltip(int32_t beltSlot);
