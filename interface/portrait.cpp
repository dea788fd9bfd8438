#include "interface/portrait.h"

#include <cstdio>
#include <string>

#include "core/input_log.h"
#include "core/random.h"
#include "creatures/player.h"
#include "interface/hud.h"
#include "interface/hud_draw.h"
#include "interface/ui_services.h"
#include "media/image.h"
#include "media/image_batch.h"

int32_t PortraitExpression = kPortraitStare;
int64_t PortraitStartMs = -1;

namespace {

const char* const kExpressionNames[kPortraitExpressionCount] = {
    "stare", "lookleft", "lookright", "blink", "grin", "ooo", "ow", "sad"};
const char* const kTierNames[kPortraitTierCount] = {"100", "100", "50", "25"};

// [gender][expression][tier]; tiers 0 and 1 point at the same surface.
SDL_Surface* pictures[2][kPortraitExpressionCount][kPortraitTierCount] = {};

int64_t Now() {
    return static_cast<int64_t>(LoggedGetTicks());
}

bool ValidIndex(int32_t female, int32_t expression, int32_t tier) {
    return female >= 0 && female <= 1 && expression >= 0 && expression < kPortraitExpressionCount &&
           tier >= 0 && tier < kPortraitTierCount;
}

}  // namespace

namespace {

// The portraits decode in the background from LoadPortraits on; the first use collects them.
PictureBatch& PortraitBatch() {
    static PictureBatch batch;
    return batch;
}

void CollectPortraits() {
    if (!PortraitBatch().Pending()) return;
    const std::vector<SDL_Surface*> loaded = PortraitBatch().Finish();
    size_t next = 0;
    for (int32_t female = 0; female < 2; ++female) {
        for (int32_t e = 0; e < kPortraitExpressionCount; ++e) {
            for (int32_t tier = 0; tier < kPortraitTierCount; ++tier) {
                if (tier == 1) continue;
                pictures[female][e][tier] = next < loaded.size() ? loaded[next] : nullptr;
                ++next;
            }
            pictures[female][e][1] = pictures[female][e][0];
        }
    }
}

}  // namespace

void LoadPortraits() {
    FreePortraits();
    std::vector<std::string> files;
    for (int32_t female = 0; female < 2; ++female) {
        for (int32_t e = 0; e < kPortraitExpressionCount; ++e) {
            for (int32_t tier = 0; tier < kPortraitTierCount; ++tier) {
                if (tier == 1) continue;  // shares tier 0's picture
                files.push_back(std::string(female ? "ui/portrait/portraitf_" : "ui/portrait/portrait_") +
                                kTierNames[tier] + "_" + kExpressionNames[e] + ".png");
            }
        }
    }
    PortraitBatch().Start(files);
}

void FreePortraits() {
    CollectPortraits();
    for (auto& gender : pictures) {
        for (auto& expression : gender) {
            expression[1] = nullptr;  // shared with tier 0
            for (SDL_Surface*& picture : expression) {
                SDL_FreeSurface(picture);
                picture = nullptr;
            }
        }
    }
}

SDL_Surface* PortraitPicture(int32_t female, int32_t expression, int32_t tier) {
    if (!ValidIndex(female, expression, tier)) return nullptr;
    CollectPortraits();
    return pictures[female][expression][tier];
}

void SetPortraitPicture(int32_t female, int32_t expression, int32_t tier, SDL_Surface* picture) {
    CollectPortraits();
    if (ValidIndex(female, expression, tier)) pictures[female][expression][tier] = picture;
}

int32_t PortraitTier(int32_t health, int32_t maxHealth) {
    if (maxHealth <= 0) return 3;
    const double f = static_cast<double>(health) / maxHealth;
    if (f > 0.5) return 0;
    if (f > 0.25) return 2;
    return 3;
}

void SetPortraitExpression(int32_t expression) {
    PortraitExpression = expression;
    PortraitStartMs = Now();
    // These three last about two seconds instead of one.
    if (expression == kPortraitGrin || expression == kPortraitOoo || expression == kPortraitSad) {
        PortraitStartMs += 1000;
    }
}

void DrawPortrait() {
    Player* hero = CurrentPlayer;
    if (hero == nullptr) return;
    if (PortraitStartMs == -1) PortraitStartMs = Now();
    CollectPortraits();
    const SDL_Rect r = GetPortraitRect();
    const int32_t female = hero->female != 0 ? 1 : 0;
    const int32_t tier = PortraitTier(hero->health, hero->stat[kStatLife]);
    if (PortraitExpression >= 0 && PortraitExpression < kPortraitExpressionCount) {
        char what[64];  // put together without making anything: every frame draws it
        std::snprintf(what, sizeof what, "portrait %s %s %s", female ? "f" : "m",
                      kExpressionNames[PortraitExpression], kTierNames[tier]);
        HudBlit(pictures[female][PortraitExpression][tier], what, r.x, r.y);
    }
    if (hero->dead != 0) {
        HudBlit(pictures[female][kPortraitBlink][3], "portrait closed eyes", r.x, r.y);
    }
    const int64_t now = Now();
    if (now - PortraitStartMs <= 1000) return;
    PortraitStartMs = now;
    switch (PortraitExpression) {
        case kPortraitStare:
            if (MTOneChanceIn(5)) {
                PortraitExpression = kPortraitBlink;
                PortraitStartMs -= 500;  // a blink lasts about half a second
            } else if (MTOneChanceIn(10)) {
                PortraitExpression = kPortraitLookLeft;
            } else if (MTOneChanceIn(10)) {
                PortraitExpression = kPortraitLookRight;
            }
            break;
        case kPortraitLookLeft:
            PortraitExpression = MTOneChanceIn(2) ? kPortraitLookRight : kPortraitStare;
            break;
        case kPortraitLookRight:
            PortraitExpression = MTOneChanceIn(2) ? kPortraitLookLeft : kPortraitStare;
            break;
        default:
            PortraitExpression = kPortraitStare;
            break;
    }
}
