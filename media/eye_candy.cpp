// Stand-in: what is still to be built is listed at the top of media/eye_candy.h.
#include "media/eye_candy.h"

void LoadEyeCandy() {}

void ClearEyeCandy() {}

void UpdateEyeCandy(uint32_t) {}

void DrawEyeCandy() {}

void UpdateGlints(uint32_t) {}

void DrawGlints() {}

void ShowExperienceFloater(int32_t) {}

size_t EyeCandyCount() {
    return 0;
}
