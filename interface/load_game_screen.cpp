#include "interface/load_game_screen.h"

#include "core/input_log.h"
#include "creatures/ability.h"
#include "creatures/skill_db.h"
#include "interface/menu_frame.h"
#include "interface/menu_screen_art.h"
#include "interface/screens.h"
#include "media/font.h"
#include "media/image.h"
#include "media/screen.h"
#include "media/surface.h"
#include "media/text.h"
#include "platform/platform.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

namespace {

constexpr int32_t kRowWidth = 400;
constexpr int32_t kRowHeight = 64;

struct LoadScreenArt {
    AutoSurface back[2];
    AutoSurface done[2];
    AutoSurface panel;
    AutoSurface book[2];
    AutoSurface up[2];
    AutoSurface down[2];
    AutoSurface erase[2];

    void Load() {
        back[0].Reset(LoadMenuPicture("ui/skillselect_back0.png", 128, 64, "Back"));
        back[1].Reset(LoadMenuPicture("ui/skillselect_back2.png", 128, 64, "Back"));
        done[0].Reset(LoadMenuPicture("ui/skillselect_done0.png", 128, 64, "Done"));
        done[1].Reset(LoadMenuPicture("ui/skillselect_done2.png", 128, 64, "Done"));
        panel.Reset(LoadMenuPicture("ui/menus/loadgame_widgets.png", 800, 600));
        book[0].Reset(LoadMenuPicture("ui/menus/loadgame_book0.png", kRowWidth, kRowHeight));
        book[1].Reset(LoadMenuPicture("ui/menus/loadgame_book1.png", kRowWidth, kRowHeight));
        up[0].Reset(LoadMenuPicture("ui/menus/widearrow_scrollup0.png", 96, 32, "Up"));
        up[1].Reset(LoadMenuPicture("ui/menus/widearrow_scrollup1.png", 96, 32, "Up"));
        down[0].Reset(LoadMenuPicture("ui/menus/widearrow_scrolldown0.png", 96, 32, "Down"));
        down[1].Reset(LoadMenuPicture("ui/menus/widearrow_scrolldown1.png", 96, 32, "Down"));
        erase[0].Reset(LoadMenuPicture("ui/menus/loadgame_delete0.png", 105, 24, "Delete"));
        erase[1].Reset(LoadMenuPicture("ui/menus/loadgame_delete1.png", 105, 24, "Delete"));
    }
};

class LoadGameScreen {
public:
    std::string Run();

private:
    int32_t Count() const { return static_cast<int32_t>(rows_.size()); }
    SDL_Rect RowRect(int32_t i) const { return MakeRect(cx_ - 400, cy_ - 180 + kRowHeight * i, kRowWidth, kRowHeight); }
    SDL_Rect UpRect() const { return MakeRect(cx_ - 248, cy_ - 212, 96, 32); }
    SDL_Rect DownRect() const { return MakeRect(cx_ - 248, cy_ + 268, 96, 32); }
    SDL_Rect DeleteRect() const { return MakeRect(cx_ + 140, cy_ + 276, 105, 24); }
    SDL_Rect BackRect() const { return PictureRect(art_.back[0], 0, 0); }
    SDL_Rect DoneRect() const {
        const int32_t w = art_.done[0] ? art_.done[0]->w : 0;
        return PictureRect(art_.done[0], w_ - w, 0);
    }
    SDL_Rect ListArea() const { return MakeRect(cx_ - 400, cy_ - 180, 800, 512); }
    SDL_Rect PanelArea() const { return MakeRect(cx_ - 400, cy_ - 300, 800, 600); }

    void DrawSaveList(int32_t selection);
    void DrawPanel();
    void HidePanelPart(const SDL_Rect& r);
    void DrawArrows(int32_t x, int32_t y);
    void DrawDelete(int32_t x, int32_t y);
    void UpdateHover(int32_t x, int32_t y, const SDL_Rect& box, AutoSurface* pictures, int32_t* over);
    void DrawPreview(const SavedGameRow& row);
    void Reread();
    // A click at the frame's pointer position; true when the screen ends.
    bool Click(int32_t x, int32_t y);

    LoadScreenArt art_;
    std::vector<SavedGameRow> rows_;
    std::map<std::string, SDL_Surface*> icons_;
    int32_t w_ = 0, h_ = 0, cx_ = 0, cy_ = 0;
    int32_t first_ = 0;
    int32_t selection_ = -1;
    int32_t overBack_ = 0;
    int32_t overDone_ = 0;
    bool readWhole_ = false;
    bool changed_ = false;
    bool load_ = false;
};

void LoadGameScreen::DrawSaveList(int32_t selection) {
    if (Count() == 0) {
        const SDL_Rect r = RowRect(0);
        DrawTextCentered(r.x + r.w / 2, r.y + 20, kNoSavedGamesText, MediumFont, kTextBlack, MenuBackground);
        return;
    }
    for (int32_t i = 0; i < kLoadScreenRows && first_ + i < Count(); ++i) {
        const SDL_Rect r = RowRect(i);
        const bool selected = selection != -1 && selection - first_ == i;
        BlitPictureAt(selected ? art_.book[1] : art_.book[0], MenuBackground, r.x, r.y);
        const std::string label = SaveRowLabel(rows_[static_cast<size_t>(first_ + i)]);
        DrawText(r.x + 85, r.y + 17, label, kTextBlack, MenuBackground, MediumFont);
        DrawText(r.x + 84, r.y + 16, label, kTextGold, MenuBackground, MediumFont);
    }
}

void LoadGameScreen::DrawPanel() {
    RestoreCleanRect(PanelArea());
    BlitPictureAt(art_.panel, MenuBackground, cx_ - 400, cy_ - 300);
}

// Puts back what the clean background and the panel show inside the rectangle.
void LoadGameScreen::HidePanelPart(const SDL_Rect& r) {
    RestoreCleanRect(r);
    if (!art_.panel) return;
    SDL_Rect src = MakeRect(r.x - (cx_ - 400), r.y - (cy_ - 300), r.w, r.h);
    SDL_Rect dst = r;
    BlitSurface(art_.panel, &src, MenuBackground, &dst);
}

void LoadGameScreen::DrawArrows(int32_t x, int32_t y) {
    const SDL_Rect up = UpRect();
    const SDL_Rect down = DownRect();
    HidePanelPart(up);
    HidePanelPart(down);
    if (first_ > 0) BlitPictureAt(art_.up[InRectWithEdges(up, x, y) ? 1 : 0], MenuBackground, up.x, up.y);
    if (first_ + kLoadScreenRows < Count()) {
        BlitPictureAt(art_.down[InRectWithEdges(down, x, y) ? 1 : 0], MenuBackground, down.x, down.y);
    }
    QueueMenuRect(up);
    QueueMenuRect(down);
}

void LoadGameScreen::DrawDelete(int32_t x, int32_t y) {
    const SDL_Rect r = DeleteRect();
    HidePanelPart(r);
    // With no saves there is nothing to delete: the button is not shown.
    if (Count() == 0) {
        QueueMenuRect(r);
        return;
    }
    BlitPictureAt(art_.erase[InRectWithEdges(r, x, y) ? 1 : 0], MenuBackground, r.x, r.y);
    QueueMenuRect(r);
}

void LoadGameScreen::UpdateHover(int32_t x, int32_t y, const SDL_Rect& box, AutoSurface* pictures, int32_t* over) {
    const int32_t now = InRectWithoutEdges(box, x, y) ? 1 : 0;
    if (now == *over) return;
    *over = now;
    RestoreCleanRect(box);
    BlitPictureAt(pictures[now], MenuBackground, box.x, box.y);
    QueueMenuRect(box);
}

void LoadGameScreen::DrawPreview(const SavedGameRow& row) {
    const int32_t px = cx_ - 400;
    const int32_t py = cy_ - 300;
    DrawText(px + 429, py + 376, row.line1, kTextBlack, MenuBackground, MediumFont);
    DrawText(px + 429, py + 400, row.line2, kTextBlack, MenuBackground, MediumFont);
    const std::string thumbnail = SaveThumbnailPath(row.fileName);
    if (!thumbnail.empty()) {
        SDL_RWops* rw = SDL_RWFromFile(thumbnail.c_str(), "rb");
        SDL_Surface* picture = rw != nullptr ? SDL_LoadBMP_RW(rw, 1) : nullptr;
        if (picture != nullptr) {
            BlitPictureAt(picture, MenuBackground, cx_ + 16, cy_ - 196);
            SDL_FreeSurface(picture);
        }
    }
    for (int32_t k = 0; k < kSavedGameSkillCount; ++k) {
        const int32_t x = k < 4 ? px + 446 + 76 * k : px + 484 + 76 * (k - 4);
        const int32_t y = k < 4 ? py + 423 : py + 499;
        for (const AbilityRecord* ability : AbilityList) {
            if (ability == nullptr || !ability->startSkill || ability->skillId != row.skills[k]) continue;
            if (ability->icon.empty()) continue;
            auto found = icons_.find(ability->icon);
            if (found == icons_.end()) found = icons_.emplace(ability->icon, LoadImage(ability->icon.c_str())).first;
            BlitPictureAt(found->second, MenuBackground, x, y);
        }
    }
}

void LoadGameScreen::Reread() {
    if (MenuHooks.readSaveIndex != nullptr) {
        readWhole_ = MenuHooks.readSaveIndex(&rows_);
    } else {
        rows_.clear();
        readWhole_ = false;
    }
}

bool LoadGameScreen::Click(int32_t x, int32_t y) {
    if (InRectWithEdges(UpRect(), x, y)) {
        if (first_ > 0) --first_;
        DrawSaveList(selection_);
        QueueMenuRect(ListArea());
        return false;
    }
    if (InRectWithEdges(DownRect(), x, y)) {
        if (first_ + kLoadScreenRows < Count()) ++first_;
        DrawSaveList(selection_);
        QueueMenuRect(ListArea());
        return false;
    }
    if (InRectWithEdges(DeleteRect(), x, y) && selection_ != -1) {
        const std::string name = rows_[static_cast<size_t>(selection_)].fileName;
        if (MenuHooks.deleteSave != nullptr) MenuHooks.deleteSave(name);
        Reread();
        changed_ = true;
        selection_ = -1;
        first_ = ClampFirstSaveRow(first_, Count());
        RestoreCleanRect(MakeRect(0, 0, w_, h_));
        BlitPictureAt(art_.back[0], MenuBackground, 0, 0);
        BlitPictureAt(art_.done[0], MenuBackground, DoneRect().x, 0);
        overBack_ = 0;
        overDone_ = 0;
        QueueMenuRect(BackRect());
        QueueMenuRect(DoneRect());
        DrawPanel();
        DrawSaveList(-1);
        QueueMenuRect(PanelArea());
        DrawDelete(x, y);
        return false;
    }
    // Neighbouring rows share one pixel line, where the lower row wins.
    int32_t hit = -1;
    for (int32_t i = 0; i < kLoadScreenRows && first_ + i < Count(); ++i) {
        if (InRectWithEdges(RowRect(i), x, y)) hit = i;
    }
    if (hit != -1) {
        if (selection_ == first_ + hit) {
            load_ = true;
            return true;
        }
        selection_ = first_ + hit;
        // The panel is drawn again under the rows, which clears the previous preview.
        DrawPanel();
        DrawSaveList(selection_);
        QueueMenuRect(ListArea());
        DrawPreview(rows_[static_cast<size_t>(selection_)]);
        DrawDelete(x, y);
        CopyMenuBackgroundToScreen();
        return false;
    }
    if (InRectWithoutEdges(BackRect(), x, y)) return true;
    if (InRectWithoutEdges(DoneRect(), x, y)) {
        load_ = selection_ != -1;
        return true;
    }
    return false;
}

std::string LoadGameScreen::Run() {
    w_ = MenuScreenWidth();
    h_ = MenuScreenHeight();
    cx_ = w_ / 2;
    cy_ = h_ / 2;
    first_ = 0;
    selection_ = -1;
    Reread();
    art_.Load();
    {
        AutoSurface backdrop(DrawMenuBackground("ui/menus/menubg_sepia.png", "ui/menus/title_loadgame.png"));
        if (!backdrop || !SetMenuBackgrounds(backdrop, true)) {
            FreeMenuBackgrounds();
            return std::string();
        }
    }
    BlitPictureAt(art_.back[0], MenuBackground, 0, 0);
    BlitPictureAt(art_.done[0], MenuBackground, DoneRect().x, 0);
    DrawPanel();
    DrawSaveList(-1);
    if (Count() > 0) BlitPictureAt(art_.erase[0], MenuBackground, DeleteRect().x, DeleteRect().y);
    CopyMenuBackgroundToScreen();
    PresentFrame(ScreenSurface);
    SDL_Delay(10);

    for (bool done = false; !done;) {
        PresentMenuFrame();
        int x = 0, y = 0;
        LoggedGetMouseState(&x, &y);
        if (Count() > kLoadScreenRows) {
            DrawSaveList(selection_);
            DrawArrows(x, y);
        }
        UpdateHover(x, y, BackRect(), art_.back, &overBack_);
        DrawDelete(x, y);
        UpdateHover(x, y, DoneRect(), art_.done, &overDone_);
        SDL_Event event;
        while (!done && LoggedPollEvent(&event)) {
            if (event.type == SDL_KEYUP && event.key.keysym.sym == SDLK_ESCAPE) {
                load_ = false;
                done = true;
            } else if (event.type == SDL_MOUSEBUTTONUP) {
                // The click acts where it happened: a press and release that arrive in one
                // frame come before the pointer read at the frame's start has caught up.
                done = Click(event.button.x, event.button.y);
            }
        }
    }
    // A damaged index is written back only when the screen changed it.
    if ((readWhole_ || changed_) && MenuHooks.writeSaveIndex != nullptr) MenuHooks.writeSaveIndex(rows_);
    FreeMenuBackgrounds();
    for (auto& icon : icons_) {
        if (icon.second != nullptr) SDL_FreeSurface(icon.second);
    }
    icons_.clear();
    if (!load_ || selection_ < 0 || selection_ >= Count()) return std::string();
    return rows_[static_cast<size_t>(selection_)].fileName;
}

}  // namespace

const char* const kNoSavedGamesText = "No saved games yet";

std::string SaveRowLabel(const SavedGameRow& row) {
    return row.fileName == "autosave.sav" ? std::string("Automatic Save") : row.line1;
}

int32_t ClampFirstSaveRow(int32_t first, int32_t count) {
    return std::max(0, std::min(first, count - kLoadScreenRows));
}

std::string SaveThumbnailPath(const std::string& fileName) {
    if (fileName.empty() || fileName == "." || fileName == ".." || fileName.size() > 254) return std::string();
    for (char c : fileName) {
        if (c == '/' || c == '\\' || c == ':' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            return std::string();
        }
    }
    return UserFilePath("bitmap_" + fileName);
}

std::string ShowLoadGameScreen() {
    LoadGameScreen screen;
    return screen.Run();
}
