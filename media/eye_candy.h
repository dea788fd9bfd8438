#pragma once
// Floating icons and texts over the play screen, and the 64 glint slots.
//
// Stand-in: the list exists but holds nothing yet. Still to be built here: the EyeCandy
// entries (rising, owned sprites, owner Bobs), SpawnEyeCandy / SpawnFollowingEyeCandy,
// UpdateEyeCandy / DrawEyeCandy / RemoveEyeCandyOfOwner, the glints (LoadGlints,
// SpawnGlint, UpdateGlints, DrawGlints), ShowFloatingText and ShowExperienceFloater.
#include <cstddef>
#include <cstdint>

// Makes the eye-candy list and loads its art (start-up).
void LoadEyeCandy();
// Removes and destroys every entry (shutdown).
void ClearEyeCandy();
void UpdateEyeCandy(uint32_t elapsedMs);
void DrawEyeCandy();
void UpdateGlints(uint32_t elapsedMs);
void DrawGlints();
void ShowExperienceFloater(int32_t amount);
size_t EyeCandyCount();
