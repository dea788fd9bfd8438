// Stand-in: what is still to be built is listed at the top of media/effect_animation.h.
#include "media/effect_animation.h"

void StartQueuedAnimations() {}

void ClearQueuedAnimations() {}

void PlayEffectAtTile(int, int, const char*, int, int, bool, bool) {}
