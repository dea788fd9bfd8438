#include "interface/tutorial_screen.h"

#include "core/input_log.h"
#include "core/key_bindings.h"
#include "core/shell/shell_services.h"
#include "creatures/ability.h"
#include "creatures/player.h"
#include "creatures/skill_db.h"
#include "interface/dialogs.h"
#include "interface/layout.h"
#include "interface/menu_frame.h"
#include "interface/menu_screen_art.h"
#include "interface/menu_screen_hooks.h"
#include "interface/screens.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item_creation.h"
#include "items_fixtures/skill_item.h"
#include "levels/tutorial.h"
#include "media/font.h"
#include "media/image.h"
#include "media/music.h"
#include "media/screen.h"
#include "media/surface.h"
#include "media/text.h"

#include <SDL_ttf.h>

#include <cstdio>
#include <map>
#include <vector>

const char* const kTutorialNoticeText =
    "You will use the default key bindings and autoloot will be turned off while you are learning about the "
    "horrors that await you in the Dungeon.  Don't worry, you can take all your customizations with you at "
    "the end of the school day.";

namespace {

constexpr int32_t kAutoLootSwitchCount = 12;
// A row's name runs from 87 pixels into the row to the roller at its right end.
constexpr int32_t kNameLeft = 87;
constexpr int32_t kNameRight = 496;

// The large font when the name fits between the icon and the roller, else the medium one.
TTF_Font* TutorialNameFont(const std::string& name) {
    int w = 0;
    int h = 0;
    if (LargeFont != nullptr && TTF_SizeUTF8(LargeFont, name.c_str(), &w, &h) == 0 && w <= kNameRight - kNameLeft) {
        return LargeFont;
    }
    return MediumFont != nullptr ? MediumFont : LargeFont;
}

void PutAbilityOnBelt(Player* hero, const std::string& name) {
    AbilityRecord* ability = FindAbilityByName(name);
    if (ability == nullptr) {
        std::printf("Tutorial: no ability \"%s\"\n", name.c_str());
        return;
    }
    for (Item*& slot : hero->abilitySlots) {
        if (slot != nullptr) continue;
        slot = new SkillItem(ability);
        return;
    }
}

class TutorialScreen {
public:
    void Run();

private:
    int32_t Count() const { return static_cast<int32_t>(Tutorials.size()); }
    SDL_Rect RowRect(int32_t r) const {
        return PictureRect(widget_, px_ + 148, py_ + 77 + 86 * r);
    }
    SDL_Rect UpRect() const { return PictureRect(up_[0], px_ + 683, py_ + 281); }
    SDL_Rect DownRect() const { return PictureRect(down_[0], px_ + 683, py_ + 345); }
    SDL_Rect BackRect() const { return PictureRect(back_[0], 0, 0); }
    void DrawTutorialList();
    void DrawArrow(AutoSurface* pictures, const SDL_Rect& box, bool canScroll, int32_t x, int32_t y, Uint8 buttons);
    void Play(int32_t index);
    SDL_Surface* Icon(Tutorial* t);

    AutoSurface back_[2];
    AutoSurface widget_;
    AutoSurface star_;
    AutoSurface panel_;
    AutoSurface up_[4];
    AutoSurface down_[4];
    std::map<Tutorial*, SDL_Surface*> icons_;
    int32_t px_ = 0, py_ = 0;
    int32_t first_ = 0;
    bool noticeShown_ = false;
};

SDL_Surface* TutorialScreen::Icon(Tutorial* t) {
    auto found = icons_.find(t);
    if (found != icons_.end()) return found->second;
    SDL_Surface* icon = t->icon.empty() ? nullptr : LoadImage(t->icon.c_str());
    icons_[t] = icon;
    return icon;
}

void TutorialScreen::DrawTutorialList() {
    const int32_t starWidth = star_ ? star_->w : 32;
    SDL_Rect strip = MakeRect(px_ + 116, py_ + 77, starWidth, 516);
    SDL_FillRect(MenuBackground, &strip, SDL_MapRGB(MenuBackground->format, 0, 0, 0));
    BlitPictureAt(panel_, MenuBackground, px_, py_);
    for (int32_t r = 0; r < kTutorialRows && first_ + r < Count(); ++r) {
        Tutorial* t = Tutorials[static_cast<size_t>(first_ + r)];
        if (t == nullptr) continue;
        const int32_t rowX = px_ + 148;
        const int32_t rowY = py_ + 77 + 86 * r;
        BlitPictureAt(widget_, MenuBackground, rowX, rowY);
        // A name longer than even the medium font allows is cut at the roller.
        SDL_Rect nameArea = MakeRect(rowX + kNameLeft, rowY, kNameRight - kNameLeft, 44);
        SDL_SetClipRect(MenuBackground, &nameArea);
        DrawText(rowX + kNameLeft, rowY + 5, t->name, kTextBlack, MenuBackground, TutorialNameFont(t->name));
        SDL_SetClipRect(MenuBackground, nullptr);
        if (!t->description.empty()) {
            DrawTextWrapped(t->description.c_str(), rowX + 87, rowY + 45, rowX + 499, rowY + 64, TickerFont, kTextBlack,
                            MenuBackground);
        }
        SDL_Surface* icon = Icon(t);
        if (icon != nullptr) {
            BlitPictureAt(icon, MenuBackground, rowX + 8, rowY + 10);
            QueueMenuRect(PictureRect(icon, rowX + 8, rowY + 10));
        }
        if (t->completed != 0) {
            BlitPictureAt(star_, MenuBackground, rowX - 40, rowY + 6);
            QueueMenuRect(PictureRect(star_, rowX - 40, rowY + 6));
        }
    }
}

void TutorialScreen::DrawArrow(AutoSurface* pictures, const SDL_Rect& box, bool canScroll, int32_t x, int32_t y,
                               Uint8 buttons) {
    int32_t state = 3;
    if (canScroll) {
        const bool over = InRectWithEdges(box, x, y);
        state = over && (buttons & SDL_BUTTON(1)) != 0 ? 2 : (over ? 1 : 0);
    }
    BlitPictureAt(pictures[state], MenuBackground, box.x, box.y);
    QueueMenuRect(box);
}

void TutorialScreen::Play(int32_t index) {
    for (;;) {
        Tutorial* t = Tutorials[static_cast<size_t>(index)];
        CurrentTutorial = t;
        TutorialStepIndex = 0;
        PendingTutorialNotices.clear();
        TutorialContinueFlag = 0;
        Layout.inventoryOpen = 0;
        Layout.equipmentOpen = 0;
        MakeTrainingHero(*t);
        if (CurrentPlayer != nullptr) {
            CurrentPlayer->offsetX = 0.0f;
            CurrentPlayer->offsetY = 0.0f;
        }
        Layout.view.pixelX = 0;
        Layout.view.pixelY = 0;
        Layout.view.originX = 0;
        Layout.view.originY = 0;
        if (MenuHooks.startTutorial != nullptr) MenuHooks.startTutorial(t->room.c_str(), t->playerStartX, t->playerStartY);
        if (!noticeShown_) {
            ShowDialog(kTutorialNoticeText, "ui/dialog_but_ok", nullptr);
            noticeShown_ = true;
        }
        if (MenuHooks.advanceTurn != nullptr) MenuHooks.advanceTurn();
        if (MenuHooks.runGameLoop != nullptr) MenuHooks.runGameLoop();
        StopMusic();
        if (MenuHooks.discardEvents != nullptr) MenuHooks.discardEvents();
        if (TutorialContinueFlag != 0 && index + 1 < Count()) {
            ++index;
            continue;
        }
        break;
    }
    PlayMusic("tunes/finaltitle.ogg", "", 0);
    DrawTutorialList();
    CopyMenuBackgroundToScreen();
}

void TutorialScreen::Run() {
    if (!TutorialsLoaded) LoadTutorial();
    back_[0].Reset(LoadMenuPicture("ui/skillselect_back0.png", 128, 64, "Back"));
    back_[1].Reset(LoadMenuPicture("ui/skillselect_back2.png", 128, 64, "Back"));
    widget_.Reset(LoadMenuPicture("ui/menus/tutorial_widget0.png", 520, 80));
    star_.Reset(LoadMenuPicture("ui/menus/gold_star.png", 32, 32));
    panel_.Reset(LoadMenuPicture("ui/menus/tutorial_panel.png", 780, 600));
    for (int32_t s = 0; s < 4; ++s) {
        const std::string n = std::to_string(s);
        up_[s].Reset(LoadMenuPicture(("ui/gameplay/skilltome_arrowbutton_up" + n + ".png").c_str(), 32, 40, "Up"));
        down_[s].Reset(LoadMenuPicture(("ui/gameplay/skilltome_arrowbutton_down" + n + ".png").c_str(), 32, 40, "Down"));
    }
    const int32_t pw = panel_ ? panel_->w : 780;
    const int32_t ph = panel_ ? panel_->h : 600;
    px_ = MenuScreenWidth() / 2 - pw / 2;
    py_ = MenuScreenHeight() / 2 - ph / 2;
    AutoSurface backdrop(DrawMenuBackground("ui/menus/menubg_sepia.png", "ui/menus/title_tutorials.png"));
    if (!backdrop || !SetMenuBackgrounds(backdrop, false)) {
        FreeMenuBackgrounds();
        return;
    }
    first_ = 0;
    noticeShown_ = false;
    DrawTutorialList();
    CopyMenuBackgroundToScreen();
    PresentFrame(ScreenSurface);
    SDL_Delay(10);

    // The player's own bindings, switches and skill flags, put back when the screen is left;
    // the configuration file keeps them meanwhile.
    KeyBindingMap keptBindings = InitKeyBindings();
    std::vector<int32_t> keptAutoLoot;
    if (MenuHooks.exchangeAutoLoot != nullptr) {
        keptAutoLoot = MenuHooks.exchangeAutoLoot(std::vector<int32_t>(kAutoLootSwitchCount, 0));
    }
    if (MenuHooks.holdConfigValues != nullptr) {
        MenuHooks.holdConfigValues(&keptBindings, MenuHooks.exchangeAutoLoot != nullptr ? &keptAutoLoot : nullptr);
    }
    std::vector<uint8_t> keptChosen;
    for (const SkillRecord& record : SkillDB) keptChosen.push_back(record.chosen);

    int32_t overBack = -1;
    for (bool leave = false; !leave;) {
        int x = 0, y = 0;
        const Uint8 buttons = LoggedGetMouseState(&x, &y);
        const int32_t over = InRectWithEdges(BackRect(), x, y) ? 1 : 0;
        if (over != overBack) {
            overBack = over;
            BlitPictureAt(back_[over], MenuBackground, 0, 0);
            QueueMenuRect(BackRect());
        }
        DrawArrow(up_, UpRect(), first_ > 0, x, y, buttons);
        DrawArrow(down_, DownRect(), first_ < Count() - kTutorialRows, x, y, buttons);
        MenuDirtyFrames = 1;
        PresentMenuFrame();
        SDL_Event event;
        while (!leave && LoggedPollEvent(&event)) {
            if (event.type == SDL_KEYUP && event.key.keysym.sym == SDLK_ESCAPE) {
                leave = true;
                continue;
            }
            if (event.type != SDL_MOUSEBUTTONUP) continue;
            const int32_t b = event.button.button;
            const int32_t ex = event.button.x;
            const int32_t ey = event.button.y;
            const bool up = b == SDL_BUTTON_WHEELUP || (b == SDL_BUTTON_LEFT && InRectWithEdges(UpRect(), ex, ey));
            const bool down = b == SDL_BUTTON_WHEELDOWN || (b == SDL_BUTTON_LEFT && InRectWithEdges(DownRect(), ex, ey));
            if (b == SDL_BUTTON_LEFT && InRectWithEdges(BackRect(), ex, ey)) {
                leave = true;
            } else if (up) {
                if (first_ > 0) {
                    --first_;
                    DrawTutorialList();
                    CopyMenuBackgroundToScreen();
                }
            } else if (down) {
                if (first_ < Count() - kTutorialRows) {
                    ++first_;
                    DrawTutorialList();
                    CopyMenuBackgroundToScreen();
                }
            } else if (b == SDL_BUTTON_LEFT) {
                for (int32_t r = 0; r < kTutorialRows; ++r) {
                    if (first_ + r >= Count() || !InRectWithEdges(RowRect(r), ex, ey)) continue;
                    Play(first_ + r);
                    overBack = -1;
                    break;
                }
            }
        }
    }

    TutorialFlag = false;
    KeyBindingTable = keptBindings;
    if (MenuHooks.exchangeAutoLoot != nullptr) MenuHooks.exchangeAutoLoot(keptAutoLoot);
    if (MenuHooks.holdConfigValues != nullptr) MenuHooks.holdConfigValues(nullptr, nullptr);
    for (size_t i = 0; i < SkillDB.size() && i < keptChosen.size(); ++i) SkillDB[i].chosen = keptChosen[i];
    FreeMenuBackgrounds();
    for (auto& icon : icons_) {
        if (icon.second != nullptr) SDL_FreeSurface(icon.second);
    }
    icons_.clear();
}

}  // namespace

void MakeTrainingHero(const Tutorial& tutorial) {
    Player* hero = new Player();
    CurrentPlayer = hero;
    hero->saveName = "herointraining.sav";
    hero->name = "Hero In Training";
    hero->female = 0;
    // Only the tutorial's skills are chosen: the starting kit follows the flags.
    ClearChosenSkills();
    const size_t count = tutorial.skills.size() < static_cast<size_t>(kBuildSkillCount)
                             ? tutorial.skills.size()
                             : static_cast<size_t>(kBuildSkillCount);
    for (size_t k = 0; k < count; ++k) {
        hero->skillIds[k] = tutorial.skills[k];
        SkillRecord* record = FindSkillById(tutorial.skills[k]);
        if (record != nullptr) record->chosen = 1;
    }
    for (size_t k = 0; k < count; ++k) {
        for (int32_t slot = 0; slot < kBuildSkillCount; ++slot) {
            if (hero->skillIds[slot] != tutorial.skills[k]) continue;
            hero->SetSkillLevel(slot, hero->skillLevels[slot] + 1);
            break;
        }
    }
    TutorialFlag = true;
    hero->LoadAnimations(hero);
    hero->GiveStartingKit();
    for (const std::string& name : tutorial.equipment) hero->GiveEquipmentByName(name);
    for (const std::string& name : tutorial.items) {
        Item* item = CreateItemByName(name);
        if (item == nullptr) {
            std::printf("Tutorial: no item \"%s\"\n", name.c_str());
            continue;
        }
        if (!AddItemToInventory(item, 0)) delete item;
    }
    for (const std::string& name : tutorial.abilities) PutAbilityOnBelt(hero, name);
}

void ShowTutorialScreen() {
    TutorialScreen screen;
    screen.Run();
}
