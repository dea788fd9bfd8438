#include "interface/choose_skills.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/input_log.h"
#include "creatures/skill_db.h"
#include "interface/menu_frame.h"
#include "interface/new_game_common.h"
#include "interface/screens.h"
#include "media/font.h"
#include "media/image.h"
#include "media/sound.h"
#include "media/text.h"
#include "platform/platform.h"

int32_t SkillScrollPosition = 0;

namespace {

constexpr int32_t kChosenMax = 7;
constexpr int32_t kGridColumns = 10;
constexpr int32_t kGridRows = 5;
constexpr int32_t kGridCells = kGridColumns * kGridRows;
constexpr int32_t kNone = -100;
constexpr int32_t kLastChoice = -1;
constexpr int32_t kRandomSkills = -2;

// The table position of the pseudo-skill record with this identifier, or -1.
int32_t PseudoRecordIndex(int32_t id) {
    for (size_t i = SkillDB.size(); i-- > 0;) {
        if (SkillDB[i].id == id) return static_cast<int32_t>(i);
    }
    return -1;
}

int32_t RealSkillCount() {
    const int32_t n = static_cast<int32_t>(SkillDB.size()) - 2;
    return n > 0 ? n : 0;
}

int32_t Left() {
    return MenuScreenWidth() / 2 - 512;
}

int32_t Top() {
    return MenuScreenHeight() / 2 - 300;
}

bool InBox(int32_t x, int32_t y, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return x >= left && x <= right && y >= top && y <= bottom;
}

void FreeSurface(SDL_Surface*& s) {
    if (s != nullptr) SDL_FreeSurface(s);
    s = nullptr;
}

struct SkillScreen {
    std::vector<int32_t>* chosen = nullptr;
    SDL_Surface* clean = nullptr;         // MenuCleanBackground while the screen runs
    SDL_Surface* gridBackground = nullptr;
    SDL_Surface* glow = nullptr;
    SDL_Surface* shadow = nullptr;
    std::vector<SDL_Surface*> icons;      // one per record
    bool scrollArt = false;
    SDL_Surface* holder = nullptr;
    SDL_Surface* up[4] = {};
    SDL_Surface* down[4] = {};
    int32_t hovered = kNone;

    // The icon of the pseudo-skill record with this identifier (kLastChoice or kRandomSkills).
    SDL_Surface* PseudoIcon(int32_t which) const {
        const int32_t index = PseudoRecordIndex(which);
        return index >= 0 && index < static_cast<int32_t>(icons.size()) ? icons[static_cast<size_t>(index)] : nullptr;
    }

    void CopyArea(SDL_Surface* from, SDL_Surface* to, int32_t x, int32_t y, int32_t w, int32_t h) const {
        if (from == nullptr || to == nullptr) return;
        SDL_Rect src = {static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(w), static_cast<Uint16>(h)};
        SDL_Rect dst = src;
        SDL_BlitSurface(from, &src, to, &dst);
    }

    void DrawIcon(SDL_Surface* icon, SDL_Surface* target, int32_t x, int32_t y) const {
        if (icon == nullptr || target == nullptr) return;
        SDL_Rect at = {static_cast<Sint16>(x), static_cast<Sint16>(y), 72, 72};
        SDL_BlitSurface(icon, nullptr, target, &at);
    }

    void DrawGrid() {
        const int32_t left = Left();
        const int32_t top = Top();
        CopyArea(gridBackground, clean, left + 116, top + 2, 858, 394);
        int32_t n = 0;
        for (int32_t p = SkillScrollPosition; p < RealSkillCount() && n < kGridCells; ++p) {
            if (!IsOfferedSkill(p)) continue;
            const int32_t column = n % kGridColumns;
            const int32_t row = n / kGridColumns;
            DrawIcon(icons[p], clean, left + 120 + 78 * column, top + 6 + 76 * row);
            const bool isChosen = std::find(chosen->begin(), chosen->end(), p) != chosen->end();
            BlitOnMenu(isChosen ? glow : shadow, clean, left + 116 + 78 * column, top + 2 + 76 * row);
            ++n;
        }
        CopyArea(clean, MenuBackground, left + 116, top + 2, 858, 470);
        SDL_Rect grid = {static_cast<Sint16>(left + 116), static_cast<Sint16>(top + 2), 858, 470};
        QueueMenuRect(grid);
        for (size_t i = 0; i < chosen->size(); ++i) {
            const int32_t p = (*chosen)[i];
            if (p < 0 || p >= RealSkillCount()) continue;
            DrawIcon(icons[p], MenuBackground, left + 131 + 88 * static_cast<int32_t>(i), top + 400);
        }
        DrawIcon(PseudoIcon(kLastChoice), MenuBackground, left + 750, top + 405);
        DrawIcon(PseudoIcon(kRandomSkills), MenuBackground, left + 830, top + 405);
        SDL_Rect panel = {static_cast<Sint16>(left + 112), static_cast<Sint16>(top + 380), 800, 104};
        QueueMenuRect(panel);
        MenuDirtyFrames = 2;
    }

    void DrawScrollArrows(int32_t mx, int32_t my, bool held) {
        if (!scrollArt) return;
        const int32_t cx = MenuScreenWidth() / 2;
        const int32_t top = Top();
        CopyArea(clean, MenuBackground, cx + 380, top + 98, 96, 184);
        BlitOnMenu(holder, MenuBackground, cx + 380, top + 98);
        auto state = [&](int32_t x, int32_t y) {
            if (!InBox(mx, my, x, y, x + 40, y + 50)) return 0;
            return held ? 2 : 1;
        };
        BlitOnMenu(up[state(cx + 394, top + 136)], MenuBackground, cx + 394, top + 136);
        BlitOnMenu(down[state(cx + 394, top + 196)], MenuBackground, cx + 394, top + 196);
    }

    int32_t HoverTarget(int32_t x, int32_t y) const {
        const int32_t left = Left();
        const int32_t top = Top();
        if (InBox(x, y, left + 116, top + 2, left + 896, top + 382)) {
            const int32_t p = SkillAtScreenPoint(x, y);
            return p >= 0 ? p : kNone;
        }
        for (size_t i = 0; i < chosen->size(); ++i) {
            const int32_t ix = left + 131 + 88 * static_cast<int32_t>(i);
            if (InBox(x, y, ix, top + 400, ix + 72, top + 472)) {
                const int32_t p = (*chosen)[i];
                return p >= 0 && p < RealSkillCount() ? p : kNone;
            }
        }
        if (InBox(x, y, left + 750, top + 405, left + 814, top + 469)) return kLastChoice;
        if (InBox(x, y, left + 830, top + 405, left + 894, top + 469)) return kRandomSkills;
        return kNone;
    }

    void ShowHover(int32_t target) {
        if (target == hovered) return;
        hovered = target;
        const int32_t left = Left();
        const int32_t top = Top();
        CopyArea(clean, MenuBackground, left + 116, top + 480, 792, 120);
        // The whole 78 x 76 glow of either shortcut is taken back, not only its icon's square.
        CopyArea(clean, MenuBackground, left + 746, top + 401, 78, 76);
        CopyArea(clean, MenuBackground, left + 826, top + 401, 78, 76);
        DrawIcon(PseudoIcon(kLastChoice), MenuBackground, left + 750, top + 405);
        DrawIcon(PseudoIcon(kRandomSkills), MenuBackground, left + 830, top + 405);
        SDL_Rect pseudo = {static_cast<Sint16>(left + 746), static_cast<Sint16>(top + 401), 158, 76};
        QueueMenuRect(pseudo);
        if (target != kNone) {
            const SkillRecord* record = nullptr;
            if (target == kLastChoice || target == kRandomSkills) {
                BlitOnMenu(glow, MenuBackground, left + (target == kLastChoice ? 746 : 826), top + 401);
                const int32_t index = PseudoRecordIndex(target);
                if (index >= 0) record = &SkillDB[static_cast<size_t>(index)];
            } else {
                const HudPoint cell = SkillCellPosition(target);
                if (target >= SkillScrollPosition) BlitOnMenu(glow, MenuBackground, cell.x, cell.y);
                record = GetSkillRecord(target);
            }
            if (record != nullptr) {
                DrawLargeTextCentered(left + 298, top + 520, record->name.c_str(), MenuBackground);
                DrawTextWrapped(record->description.c_str(), left + 480, top + 496, left + 892, top + 576,
                                MediumFont, kTextBlack, MenuBackground);
            }
        }
        SDL_Rect info = {static_cast<Sint16>(left + 116), static_cast<Sint16>(top + 480), 858, 120};
        QueueMenuRect(info);
    }

    void StepScroll(int32_t direction) {
        int32_t passed = 0;
        int32_t p = SkillScrollPosition;
        while (passed < kGridColumns) {
            if (direction < 0) {
                if (p <= 0) break;
                if (IsOfferedSkill(p)) ++passed;
                --p;
            } else {
                if (p >= RealSkillCount()) break;
                if (IsOfferedSkill(p)) ++passed;
                ++p;
            }
        }
        SkillScrollPosition = p < 0 ? 0 : p;
    }

    void Free() {
        FreeSurface(gridBackground);
        FreeSurface(glow);
        FreeSurface(shadow);
        FreeSurface(holder);
        for (int32_t i = 0; i < 4; ++i) {
            FreeSurface(up[i]);
            FreeSurface(down[i]);
        }
        for (SDL_Surface*& icon : icons) FreeSurface(icon);
        icons.clear();
    }
};

}  // namespace

bool IsOfferedSkill(int32_t position) {
    if (position < 0 || position >= RealSkillCount()) return false;
    return SkillDB[static_cast<size_t>(position)].deprecated == 0;
}

int32_t SkillAtScreenPoint(int32_t x, int32_t y) {
    const int32_t dx = x - MenuScreenWidth() / 2 + 396;
    const int32_t dy = y - MenuScreenHeight() / 2 + 298;
    if (dx < 0 || dy < 0) return -1;
    const int32_t column = dx / 78;
    const int32_t row = dy / 76;
    // The grid's right and bottom edges belong to no cell.
    if (column >= kGridColumns || row >= kGridRows) return -1;
    int32_t cell = row * kGridColumns + column;
    for (int32_t p = SkillScrollPosition; p < RealSkillCount(); ++p) {
        if (!IsOfferedSkill(p)) continue;
        if (cell-- == 0) return p;
    }
    return -1;
}

HudPoint SkillCellPosition(int32_t position) {
    int32_t n = 0;
    for (int32_t p = SkillScrollPosition; p < position && p < RealSkillCount(); ++p) n += IsOfferedSkill(p);
    HudPoint point;
    point.x = (n % kGridColumns) * 78 + Left() + 116;
    point.y = (n / kGridColumns) * 76 + Top() + 2;
    return point;
}

std::vector<int32_t> FilterLastChoice(const std::vector<int32_t>& codes) {
    std::vector<int32_t> kept;
    for (int32_t code : codes) {
        if (static_cast<int32_t>(kept.size()) >= kChosenMax) break;
        if (!IsOfferedSkill(code)) continue;
        if (std::find(kept.begin(), kept.end(), code) != kept.end()) continue;
        kept.push_back(code);
    }
    return kept;
}

std::vector<int32_t> ReadLastTxtCodes() {
    std::vector<int32_t> codes;
    FILE* file = OpenRegularFile(UserFilePath("last.txt"));
    if (file == nullptr) {
        // No previous hero: the first seven skills.
        for (int32_t i = 0; i < kChosenMax; ++i) codes.push_back(i);
        return codes;
    }
    char line[64];
    while (static_cast<int32_t>(codes.size()) < kChosenMax && std::fgets(line, sizeof line, file) != nullptr) {
        char* end = nullptr;
        const long value = std::strtol(line, &end, 10);
        if (end == line) break;
        codes.push_back(value < -1000000 || value > 1000000 ? -1 : static_cast<int32_t>(value));
    }
    std::fclose(file);
    return codes;
}

bool ShowChooseSkillsScreen(std::vector<int32_t>& chosen, int32_t* usedRandom, int32_t* usedLastChoice) {
    if (SkillDB.size() < 2) return false;
    const int32_t W = MenuScreenWidth();
    const int32_t H = MenuScreenHeight();
    const int32_t left = Left();
    const int32_t top = Top();
    SkillScreen screen;
    screen.chosen = &chosen;

    SDL_Surface* backdrop = MakeTitledMenuBackground("ui/menus/title_chooseskills.png");
    screen.gridBackground = MakeTitledMenuBackground("ui/menus/title_chooseskills.png");
    for (const char* name : {"ui/menus/menubg_sepia.png", "ui/menus/skillchoose_skillinfo_bg.png",
                             "ui/menus/selected_skills_panel.png"}) {
        SDL_Surface* picture = LoadMenuPicture(name);
        int32_t x = W / 2 - 400;
        int32_t y = H / 2 - 300;
        if (std::string(name) == "ui/menus/skillchoose_skillinfo_bg.png") {
            x = left + 116;
            y = top + 480;
        } else if (std::string(name) == "ui/menus/selected_skills_panel.png") {
            x = left + 112;
            y = top + 380;
        }
        BlitOnMenu(picture, backdrop, x, y);
        BlitOnMenu(picture, screen.gridBackground, x, y);
        if (picture != nullptr) SDL_FreeSurface(picture);
    }
    BackDoneButtons buttons;
    screen.glow = LoadMenuPicture("skills/skill_glow.png", 78, 76);
    screen.shadow = LoadMenuPicture("skills/skill_shadow.png", 78, 76);
    const bool ready = SetMenuBackgrounds(backdrop, true);
    if (backdrop != nullptr) SDL_FreeSurface(backdrop);
    if (!ready) {
        screen.Free();
        return false;
    }
    screen.clean = MenuCleanBackground;
    for (const SkillRecord& record : SkillDB) {
        screen.icons.push_back(LoadMenuPicture(record.icon.c_str(), 72, 72, record.name.c_str()));
    }
    screen.DrawIcon(screen.PseudoIcon(kLastChoice), screen.clean, left + 750, top + 405);
    screen.DrawIcon(screen.PseudoIcon(kRandomSkills), screen.clean, left + 830, top + 405);
    if (RealSkillCount() > kGridCells) {
        screen.scrollArt = true;
        screen.holder = LoadMenuPicture("ui/menus/scroll_holder.png", 96, 184);
        for (int32_t i = 0; i < 4; ++i) {
            screen.up[i] = LoadMenuPicture(("ui/menus/arrowbutton_up" + std::to_string(i) + ".png").c_str(), 40, 50);
            screen.down[i] = LoadMenuPicture(("ui/menus/arrowbutton_down" + std::to_string(i) + ".png").c_str(), 40, 50);
        }
    }
    CopyMenuBackgroundToScreen();
    SDL_Rect whole = {0, 0, static_cast<Uint16>(W), static_cast<Uint16>(H)};
    screen.CopyArea(screen.clean, MenuBackground, 0, 0, W, H);
    QueueMenuRect(whole);
    screen.DrawGrid();
    buttons.DrawAtRest();
    MenuDirtyFrames = 2;

    int32_t result = -1;
    while (result < 0) {
        PresentMenuFrame();
        int mx = 0;
        int my = 0;
        const Uint8 held = LoggedGetMouseState(&mx, &my);
        screen.DrawScrollArrows(mx, my, (held & SDL_BUTTON(SDL_BUTTON_LEFT)) != 0);
        buttons.UpdateHover(mx, my);
        bool done = false;
        SDL_Event event;
        while (result < 0 && LoggedPollEvent(&event) != 0) {
            if (event.type == SDL_QUIT) {
                result = 0;
            } else if (event.type == SDL_KEYUP) {
                if (event.key.keysym.sym == SDLK_ESCAPE) result = 0;
            } else if (event.type == SDL_MOUSEMOTION) {
                screen.ShowHover(screen.HoverTarget(event.motion.x, event.motion.y));
            } else if (event.type == SDL_MOUSEBUTTONUP && event.button.button == SDL_BUTTON_LEFT) {
                const int32_t x = event.button.x;
                const int32_t y = event.button.y;
                bool handled = false;
                for (size_t i = 0; i < chosen.size() && !handled; ++i) {
                    const int32_t ix = left + 131 + 88 * static_cast<int32_t>(i);
                    if (InBox(x, y, ix, top + 400, ix + 72, top + 472)) {
                        PlaySFX("click");
                        chosen.erase(chosen.begin() + static_cast<std::ptrdiff_t>(i));
                        screen.DrawGrid();
                        handled = true;
                    }
                }
                if (handled) continue;
                if (screen.scrollArt && InBox(x, y, left + 906, top + 136, left + 946, top + 186)) {
                    if (SkillScrollPosition > 0) {
                        screen.StepScroll(-1);
                        screen.DrawGrid();
                    }
                    continue;
                }
                if (screen.scrollArt && InBox(x, y, left + 906, top + 196, left + 946, top + 246)) {
                    if (SkillScrollPosition + kGridCells < RealSkillCount()) {
                        screen.StepScroll(1);
                        screen.DrawGrid();
                    }
                    continue;
                }
                if (x >= left + 116 && x <= left + 896) {
                    int32_t target = kNone;
                    if (InBox(x, y, left + 750, top + 405, left + 814, top + 469)) {
                        target = kLastChoice;
                    } else if (InBox(x, y, left + 830, top + 405, left + 894, top + 469)) {
                        target = kRandomSkills;
                    } else if (y >= top + 2 && y <= top + 382) {
                        const int32_t p = SkillAtScreenPoint(x, y);
                        if (p >= 0) target = p;
                    }
                    if (target != kNone) {
                        *usedRandom = 0;
                        *usedLastChoice = 0;
                        if (target == kLastChoice) {
                            *usedLastChoice = 1;
                            chosen = FilterLastChoice(ReadLastTxtCodes());
                        } else if (target == kRandomSkills) {
                            *usedRandom = 1;
                            PickRandomSkills(chosen);
                        } else if (auto at = std::find(chosen.begin(), chosen.end(), target); at != chosen.end()) {
                            PlaySFX("click");
                            chosen.erase(at);
                        } else if (static_cast<int32_t>(chosen.size()) < kChosenMax) {
                            PlaySFX("click");
                            chosen.push_back(target);
                        }
                        screen.DrawGrid();
                        continue;
                    }
                }
                if (InBox(x, y, 8, 8, 120, 56)) {
                    result = 0;
                } else if (static_cast<int32_t>(chosen.size()) == kChosenMax &&
                           InBox(x, y, W - 112, 8, W, 56)) {
                    done = true;
                }
            }
        }
        if (done && result < 0) result = 1;
    }
    screen.Free();
    FreeMenuBackgrounds();
    return result == 1;
}
