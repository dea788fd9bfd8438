// Checking generated levels: data loading for the checks, sample records, the level rules and
// the text dump.
#include "levels/gen/level_gen_check.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

#include "core/random.h"
#include "core/text_db.h"
#include "core/tweak.h"
#include "creatures/hittable.h"
#include "creatures/monster.h"
#include "creatures/monster_db.h"
#include "creatures/player.h"
#include "creatures/shopkeeper.h"
#include "creatures/spell.h"
#include "items_fixtures/blockers.h"
#include "items_fixtures/furniture.h"
#include "items_fixtures/item.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/passages.h"
#include "items_fixtures/quest.h"
#include "items_fixtures/trap.h"
#include "levels/branch_db.h"
#include "levels/gen/level_content.h"
#include "levels/gen/level_layout.h"
#include "levels/gen/monster_spawning.h"
#include "levels/gen/monster_tables.h"
#include "levels/level.h"
#include "levels/object_queue.h"
#include "levels/room_templates.h"

namespace {

std::vector<MonsterRecord*> gSampleMonsters;
bool gSampleShrine = false;  // the sample shrine kind was added

bool ReadWhole(const std::string& path, std::string* out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream text;
    text << in.rdbuf();
    *out = text.str();
    return true;
}

void AddSampleMonster(const std::string& name, const std::string& shown, int32_t level, bool aquatic,
                      bool excluded) {
    MonsterRecord* record = new MonsterRecord();
    record->name = name;
    record->displayName = shown;
    record->level = level;
    record->terrain = aquatic ? 1 : 0;
    record->special = excluded ? 1 : 0;
    MonsterTable.push_back(record);
    gSampleMonsters.push_back(record);
}

const char* ObjectLabel(GameObj* obj) {
    if (dynamic_cast<Shopkeeper*>(obj)) return "Shopkeeper";
    if (dynamic_cast<Monster*>(obj)) return "Monster";
    if (dynamic_cast<Door*>(obj)) return "Door";
    if (dynamic_cast<Stairs*>(obj)) return "Stairs";
    if (dynamic_cast<Lever*>(obj)) return "Lever";
    if (dynamic_cast<Portal*>(obj)) return "Portal";
    if (dynamic_cast<Teleporter*>(obj)) return "Teleporter";
    if (dynamic_cast<Trap*>(obj)) return "Trap";
    if (dynamic_cast<Item*>(obj)) return "Item";
    if (dynamic_cast<Engraving*>(obj)) return "Engraving";
    if (dynamic_cast<Clock*>(obj)) return "Clock";
    if (dynamic_cast<Blocker*>(obj)) return "Blocker";
    if (dynamic_cast<Breakable*>(obj)) return "Breakable";
    if (dynamic_cast<Chest*>(obj)) return "Chest";
    if (dynamic_cast<UberChest*>(obj)) return "UberChest";
    if (dynamic_cast<EvilChest*>(obj)) return "EvilChest";
    if (dynamic_cast<QuestBlocker*>(obj)) return "QuestBlocker";
    if (dynamic_cast<ShopPedestal*>(obj)) return "ShopPedestal";
    if (dynamic_cast<Bookshelf*>(obj)) return "Bookshelf";
    if (dynamic_cast<Dispenser*>(obj)) return "Dispenser";
    if (dynamic_cast<Dirt*>(obj)) return "Dirt";
    if (dynamic_cast<Fountain*>(obj)) return "Fountain";
    if (dynamic_cast<BBQ*>(obj)) return "BBQ";
    if (dynamic_cast<Freezer*>(obj)) return "Freezer";
    if (dynamic_cast<LutefiskStatue*>(obj)) return "LutefiskStatue";
    if (dynamic_cast<ZarnochStatue*>(obj)) return "ZarnochStatue";
    if (dynamic_cast<Statue*>(obj)) return "Statue";
    if (dynamic_cast<Pedestal*>(obj)) return "Pedestal";
    return "Object";
}

std::string ItemText(const Item* item) {
    if (item == nullptr) return "-";
    return "\"" + item->GetItemName() + "\"x" + std::to_string(item->count);
}

std::string ObjectDetails(GameObj* obj) {
    std::ostringstream out;
    if (auto* door = dynamic_cast<Door*>(obj)) {
        out << " orientation=" << door->orientation << " part=" << door->part << " locked=" << door->locked;
    } else if (auto* stairs = dynamic_cast<Stairs*>(obj)) {
        out << (stairs->up != 0 ? " up" : " down");
    } else if (auto* lever = dynamic_cast<Lever*>(obj)) {
        out << " kind=" << lever->kind << " target=" << lever->targetX << ","
            << lever->targetY;
    } else if (auto* tele = dynamic_cast<Teleporter*>(obj)) {
        out << " to=" << tele->partnerX << "," << tele->partnerY;
    } else if (auto* monster = dynamic_cast<Monster*>(obj)) {
        out << " record=\"" << (monster->record != nullptr ? monster->record->name : std::string()) << "\"";
        if (monster->isNamed != 0) out << " named=\"" << monster->customName << "\"";
        if (auto* keeper = dynamic_cast<Shopkeeper*>(obj)) {
            out << " variant=" << keeper->variant << " alert=" << keeper->guardX << "," << keeper->guardY;
        }
    } else if (auto* item = dynamic_cast<Item*>(obj)) {
        out << " " << ItemText(item);
    } else if (auto* breakable = dynamic_cast<Breakable*>(obj)) {
        out << " index=" << breakable->branchIndex << " holds=" << ItemText(breakable->contents);
    } else if (auto* chest = dynamic_cast<Chest*>(obj)) {
        out << " holds=" << ItemText(chest->content);
    } else if (auto* uber = dynamic_cast<UberChest*>(obj)) {
        out << " holds=" << ItemText(uber->content);
    } else if (auto* pedestal = dynamic_cast<ShopPedestal*>(obj)) {
        out << " stock=" << ItemText(pedestal->stock);
    } else if (auto* blocker = dynamic_cast<Blocker*>(obj)) {
        out << " index=" << blocker->tilesetIndex;
        if (!blocker->spriteName.empty()) out << " image=" << blocker->spriteName;
    } else if (auto* engraving = dynamic_cast<Engraving*>(obj)) {
        out << " index=-1";
        if (!engraving->spriteName.empty()) out << " image=" << engraving->spriteName;
    } else if (auto* dispenser = dynamic_cast<Dispenser*>(obj)) {
        out << " kind=" << dispenser->kind;
    }
    return out.str();
}

bool IsWalkableForCheck(const Level& level, int32_t x, int32_t y) {
    const LevelCell* cell = level.GetCell(x, y);
    if (cell == nullptr) return false;
    if (level.leverWalls.count({x, y}) != 0) return true;  // a lever opens it
    return IsWalkableSquareType(cell->type) && !cell->HasFlag(SquareFlag::Blocked);
}

}  // namespace

bool LoadGenerationData(const std::string& folder) {
    std::string text;
    const std::string base = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    if (!ReadWhole(base + "tweakDB.xml", &text)) {
        std::printf("levelcheck: cannot read %stweakDB.xml\n", base.c_str());
        return false;
    }
    ClearTweakVals();
    LoadTweakValsFromBuffer(text.data(), text.size());
    if (!ReadWhole(base + "branchDB.xml", &text)) {
        std::printf("levelcheck: cannot read %sbranchDB.xml\n", base.c_str());
        return false;
    }
    ClearBranches();
    branchDBLoadFromBuffer(text.data(), text.size(), "branchDB.xml");
    // The spells come before the rooms, whose actions name the spells they cast.
    ClearSpellTable();
    if (ReadWhole(base + "spellDB.xml", &text)) spellDBLoadFromText(text.data(), text.size(), "spellDB.xml");
    if (!ReadWhole(base + "rooms.xml", &text)) {
        std::printf("levelcheck: cannot read %srooms.xml\n", base.c_str());
        return false;
    }
    ClearRoomTemplates();
    LoadRoomTemplatesFromBuffer(text.data(), text.size(), "rooms.xml");
    BuildRoomTemplateMap();
    RemoveSampleGenerationRecords();  // the sample records must not be freed twice
    ClearMonsterDB();
    if (ReadWhole(base + "monDB.xml", &text)) monDBLoadFromText(text.data(), text.size(), "monDB.xml");
    ClearTextDB();
    if (ReadWhole(base + "text.xml", &text)) LoadTextDBFromBuffer(text.data(), text.size(), "text.xml");
    ClearItemDB();
    if (ReadWhole(base + "itemDB.xml", &text)) itemDBLoadText(text, "itemDB.xml");
    BuildItemLevelTables();
    return true;
}

void InstallSampleGenerationRecords() {
    if (MonsterTable.empty()) {
        for (int32_t level = 0; level < kMonsterLevelCount; ++level) {
            const std::string n = std::to_string(level);
            AddSampleMonster("Sample Crawler " + n, "Crawler " + n, level, false, false);
            AddSampleMonster("Sample Brute " + n, "Brute " + n, level, false, false);
            if (level % 3 == 0) AddSampleMonster("Sample Eel " + n, "Eel " + n, level, true, false);
        }
        AddSampleMonster(kFinalBossDisplayName, kFinalBossDisplayName, 9, false, true);
        AddSampleMonster(kFinalBossRecordName, kFinalBossDisplayName, 14, false, true);
    }
    if (QuestBlockerTypes.empty()) {
        QuestBlockerType shrine;
        shrine.name = "Sample Shrine";
        QuestBlockerTypes.push_back(shrine);
        gSampleShrine = true;
    }
    InitMonsterTables();
}

void RemoveSampleGenerationRecords() {
    for (MonsterRecord* record : gSampleMonsters) {
        MonsterTable.erase(std::remove(MonsterTable.begin(), MonsterTable.end(), record), MonsterTable.end());
        delete record;
    }
    gSampleMonsters.clear();
    if (gSampleShrine) {
        auto sample = std::find_if(QuestBlockerTypes.begin(), QuestBlockerTypes.end(),
                                   [](const QuestBlockerType& type) { return type.name == "Sample Shrine"; });
        if (sample != QuestBlockerTypes.end()) QuestBlockerTypes.erase(sample);
        gSampleShrine = false;
    }
    InitMonsterTables();
}

std::unique_ptr<Level> GenerateLevelForCase(const LevelGenCase& genCase, bool* accepted) {
    Player* previousHero = CurrentPlayer;
    Player hero;
    hero.quickie = genCase.quick ? 1 : 0;
    hero.extendedContent = genCase.extended ? 1 : 0;
    CurrentPlayer = &hero;
    CSRand(genCase.seed);
    MTSeed(genCase.seed);
    ResetGaussianCache();
    ResetGeneratedArtifacts();
    std::unique_ptr<Level> level(new Level(0, genCase.depth));
    const int32_t side = genCase.quick ? 75 : 100;
    const bool ok = GenLevelContent(level.get(), side, side);
    if (accepted != nullptr) *accepted = ok;
    CurrentPlayer = previousHero;
    return level;
}

std::vector<std::string> CheckGeneratedLevel(const Level& level, const LevelGenCase& genCase, bool accepted) {
    std::vector<std::string> problems;
    const int32_t last = genCase.extended ? 14 : 9;
    auto problem = [&](const std::string& text) { problems.push_back(text); };
    if (!accepted) problem("the layout did not finish within its bounded tries");
    if (static_cast<int32_t>(QueuedMoveCount()) != 0) problem("queued moves were left over");

    int32_t upStairs = 0;
    int32_t downStairs = 0;
    int32_t startX = -1;
    int32_t startY = -1;
    for (GameObj* obj : level.objects) {
        auto* stairs = dynamic_cast<Stairs*>(obj);
        if (stairs == nullptr) continue;
        if (stairs->up != 0) {
            ++upStairs;
            if (level.SquareKind(obj->x, obj->y) != SquareType::StairsUp) problem("an up staircase stands off its square");
            if (startX < 0) {
                startX = obj->x;
                startY = obj->y;
            }
        } else {
            ++downStairs;
            if (level.SquareKind(obj->x, obj->y) != SquareType::StairsDown) problem("a down staircase stands off its square");
        }
    }
    if (genCase.depth == 0 && upStairs != 0) problem("up stairs at depth 0");
    if (genCase.depth > 0 && upStairs == 0) problem("no up stairs below depth 0");
    if (genCase.depth < last && downStairs == 0) problem("no down stairs above the last level");
    if (genCase.depth >= last && downStairs != 0) problem("down stairs on the last level");

    int32_t bosses = 0;
    for (GameObj* obj : level.objects) {
        auto* monster = dynamic_cast<Monster*>(obj);
        if (monster != nullptr && monster->isNamed != 0 && monster->customName == kFinalBossDisplayName) ++bosses;
    }
    const bool bossRecord = genCase.extended ? monDBFindByName(kFinalBossRecordName) != nullptr
                                             : monDBFindByDisplayName(kFinalBossDisplayName) != nullptr;
    if (genCase.depth == last && bossRecord && bosses != 1) problem("the last level lacks its one final boss");
    if (genCase.depth != last && bosses != 0) problem("a final boss above the last level");

    for (GameObj* obj : level.objects) {
        const LevelCell* cell = level.GetCell(obj->x, obj->y);
        if (cell == nullptr || obj->cell != cell ||
            std::find(cell->contents.begin(), cell->contents.end(), obj) == cell->contents.end()) {
            problem(std::string(ObjectLabel(obj)) + " at " + std::to_string(obj->x) + "," + std::to_string(obj->y) +
                    " is not on a square of the grid");
        }
    }
    // Locks and traps: every chest lever finds its uber chest, every mounted trap its origin on
    // the grid, and every door stands as three linked parts.
    for (GameObj* obj : level.objects) {
        const std::string where = " at " + std::to_string(obj->x) + "," + std::to_string(obj->y);
        if (auto* lever = dynamic_cast<Lever*>(obj)) {
            if (lever->kind != 3) continue;
            bool found = false;
            if (const LevelCell* target = level.GetCell(lever->targetX, lever->targetY)) {
                for (GameObj* candidate : target->contents) found = found || candidate->IsUberChest();
            }
            if (!found) problem("the chest lever" + where + " has no uber chest on its target square");
        } else if (auto* trap = dynamic_cast<Trap*>(obj)) {
            if (trap->Mount() == 2 || trap->def == nullptr || trap->def->trapOrigin.empty()) continue;
            bool found = false;
            if (const LevelCell* origin = level.GetCell(trap->originX, trap->originY)) {
                for (GameObj* candidate : origin->contents) {
                    auto* blocker = dynamic_cast<Blocker*>(candidate);
                    found = found || (blocker != nullptr && blocker->spriteName == trap->def->trapOrigin);
                }
            }
            if (!found) problem("the trap" + where + " has no origin inside the grid");
        } else if (auto* door = dynamic_cast<Door*>(obj)) {
            if (door->part != 1) continue;
            Door* first = door->previous;
            Door* last = door->next;
            const int32_t dx = door->orientation != 0 ? 1 : 0;
            const int32_t dy = door->orientation != 0 ? 0 : 1;
            const bool linked = first != nullptr && last != nullptr && first->next == door && last->previous == door &&
                                first->part == 0 && last->part == 2;
            const bool placed = linked && first->x == door->x - dx && first->y == door->y - dy &&
                                last->x == door->x + dx && last->y == door->y + dy;
            if (!placed) problem("the door" + where + " does not stand as three linked parts");
        }
    }
    for (GameObj* monster : level.monsters) {
        if (std::find(level.objects.begin(), level.objects.end(), monster) == level.objects.end()) {
            problem("a listed monster is not among the level's objects");
        }
    }

    if (genCase.depth == 0) {
        startX = level.startX;
        startY = level.startY;
    }
    if (!IsWalkableForCheck(level, startX, startY)) {
        problem("the start square " + std::to_string(startX) + "," + std::to_string(startY) + " is not walkable");
        return problems;
    }
    std::vector<uint8_t> seen(static_cast<size_t>(level.width) * static_cast<size_t>(level.height), 0);
    std::vector<std::pair<int32_t, int32_t>> queue{{startX, startY}};
    seen[static_cast<size_t>(startX + startY * level.width)] = 1;
    for (size_t head = 0; head < queue.size(); ++head) {
        const int32_t x = queue[head].first;
        const int32_t y = queue[head].second;
        static const int32_t kSteps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        for (const auto& step : kSteps) {
            const int32_t nx = x + step[0];
            const int32_t ny = y + step[1];
            if (!IsWalkableForCheck(level, nx, ny)) continue;
            uint8_t& mark = seen[static_cast<size_t>(nx + ny * level.width)];
            if (mark != 0) continue;
            mark = 1;
            queue.emplace_back(nx, ny);
        }
    }
    int32_t unreachable = 0;
    int32_t firstX = -1;
    int32_t firstY = -1;
    for (int32_t y = 0; y < level.height; ++y) {
        for (int32_t x = 0; x < level.width; ++x) {
            if (IsWalkableForCheck(level, x, y) && seen[static_cast<size_t>(x + y * level.width)] == 0) {
                if (unreachable++ == 0) {
                    firstX = x;
                    firstY = y;
                }
            }
        }
    }
    if (unreachable != 0) {
        problem(std::to_string(unreachable) + " walkable squares cannot be reached from the start, the first at " +
                std::to_string(firstX) + "," + std::to_string(firstY));
    }
    return problems;
}

void PopulateLevelRooms(Level& level) {
    Level* saved = CurrentLevel;
    CurrentLevel = &level;
    InitMonsterSpawning();
    for (RoomRecord* room : level.rooms) PopulateRoomWithMonsters(&level, room);
    ApplyDeferredObjectMoves();
    CurrentLevel = saved;
}

std::vector<std::string> SharedCreatureSquares(const Level& level) {
    std::map<std::pair<int32_t, int32_t>, std::vector<std::string>> bySquare;
    for (GameObj* obj : level.objects) {
        auto* creature = dynamic_cast<Hittable*>(obj);
        if (creature == nullptr || creature->dead != 0) continue;
        bySquare[{obj->x, obj->y}].push_back(creature->GetName());
    }
    std::vector<std::string> problems;
    for (const auto& square : bySquare) {
        if (square.second.size() < 2) continue;
        std::string names;
        for (const std::string& name : square.second) names += (names.empty() ? "" : ", ") + name;
        problems.push_back(std::to_string(square.second.size()) + " creatures share the square " +
                           std::to_string(square.first.first) + "," + std::to_string(square.first.second) + ": " +
                           names);
    }
    return problems;
}

char SquareLetter(uint8_t kind, uint8_t flags) {
    if ((flags & SquareFlag::Blocked) != 0 && kind == SquareType::Floor) return 'X';
    switch (kind) {
        case SquareType::Rock: return ':';
        case SquareType::Floor: return '.';
        case SquareType::Wall: return (flags & SquareFlag::MarkedWall) != 0 ? '!' : '#';
        case SquareType::StairsUp: return '<';
        case SquareType::StairsDown: return '>';
        case SquareType::FloorVariant: return ',';
        case SquareType::Door: return '+';
        case SquareType::Water: return 'w';
        case SquareType::Lava: return 'l';
        case SquareType::Goo: return 'g';
        case SquareType::Ice: return 'i';
        case SquareType::ShopFloor: return '$';
        case SquareType::ZooFloor: return 'z';
        default: return '?';
    }
}

std::string DescribeLevel(const Level& level) {
    std::ostringstream out;
    out << "level depth=" << level.depth << " size=" << level.width << "x" << level.height << " branch=" << level.branchId
        << " rooms=" << level.roomCount << " shops=" << level.shopsPlaced << " start=" << level.startX << ","
        << level.startY << "\n";
    for (int32_t y = 0; y < level.height; ++y) {
        std::string row;
        for (int32_t x = 0; x < level.width; ++x) {
            const LevelCell* cell = level.GetCell(x, y);
            row += SquareLetter(cell->type, cell->flags);
        }
        out << row << "\n";
    }
    for (const RoomRecord* room : level.rooms) {
        out << "room " << room->roomId << " \"" << (room->roomTemplate != nullptr ? room->roomTemplate->name : "")
            << "\" " << room->left << "," << room->top << "-" << room->right << "," << room->bottom << " neighbours";
        for (const RoomRecord* n : room->neighbours) out << " " << n->roomId;
        out << "\n";
    }
    for (const auto& wall : level.leverWalls) out << "lever wall " << wall.first << "," << wall.second << "\n";
    for (GameObj* obj : level.objects) {
        out << ObjectLabel(obj) << " " << obj->x << "," << obj->y << ObjectDetails(obj) << "\n";
    }
    // The staircases with the index a level change matches them by, and how close the
    // nearest two lie (they are meant to be at least 20 squares apart: 400 squared).
    std::vector<std::pair<int32_t, int32_t>> stairs;
    for (int32_t y = 0; y < level.height; ++y) {
        for (int32_t x = 0; x < level.width; ++x) {
            const LevelCell* cell = level.GetCell(x, y);
            if (cell->type != SquareType::StairsUp && cell->type != SquareType::StairsDown) continue;
            out << "stair square " << x << "," << y << (cell->type == SquareType::StairsUp ? " up" : " down")
                << " index=" << static_cast<int32_t>(cell->stairIndex) << "\n";
            stairs.emplace_back(x, y);
        }
    }
    if (stairs.size() >= 2) {
        int32_t closest = -1;
        for (size_t i = 0; i < stairs.size(); ++i) {
            for (size_t j = i + 1; j < stairs.size(); ++j) {
                const int32_t dx = stairs[i].first - stairs[j].first;
                const int32_t dy = stairs[i].second - stairs[j].second;
                if (closest < 0 || dx * dx + dy * dy < closest) closest = dx * dx + dy * dy;
            }
        }
        out << "stairs closest pair squared distance=" << closest << "\n";
    }
    for (size_t i = 0; i < level.roomNames.size(); ++i) out << "title " << i << " \"" << level.roomNames[i] << "\"\n";
    for (int32_t y = 0; y < level.height; ++y) {
        for (int32_t x = 0; x < level.width; ++x) {
            const LevelCell* cell = level.GetCell(x, y);
            if (cell->doorFlags == 0) continue;
            out << "door bits " << x << "," << y << "=" << static_cast<int32_t>(cell->doorFlags) << "\n";
        }
    }
    return out.str();
}

std::string DescribeTileLayers(const Level& level) {
    // A tile is named by where the branch keeps it, so the hashes do not depend on addresses.
    std::map<const BranchTileRange*, std::string> names;
    if (const BranchRecord* branch = level.GetBranchRecord()) {
        for (const auto& entry : branch->tiles) names[&entry.second] = entry.first;
        for (size_t i = 0; i < branch->floors.size(); ++i) names[&branch->floors[i]] = "floor[" + std::to_string(i) + "]";
        for (size_t i = 0; i < branch->wallDecor.size(); ++i) {
            names[&branch->wallDecor[i]] = "wallDecor[" + std::to_string(i) + "]";
        }
    }
    auto hashLayer = [&](const std::vector<BranchTileRange*>& layer) {
        uint64_t hash = 14695981039346656037ull;  // FNV-1a, 64 bits
        auto add = [&hash](const std::string& text) {
            for (unsigned char ch : text) {
                hash ^= ch;
                hash *= 1099511628211ull;
            }
        };
        for (int32_t y = 0; y < level.height; ++y) {
            for (int32_t x = 0; x < level.width; ++x) {
                const size_t at = static_cast<size_t>(x) + static_cast<size_t>(y) * static_cast<size_t>(level.width);
                const BranchTileRange* tile = at < layer.size() ? layer[at] : nullptr;
                if (tile == nullptr) {
                    add("-\n");
                    continue;
                }
                auto found = names.find(tile);
                add((found != names.end() ? found->second : std::string("?")) + "\n");
            }
        }
        char text[17];
        std::snprintf(text, sizeof(text), "%016llx", static_cast<unsigned long long>(hash));
        return std::string(text);
    };
    return "tile layers base=" + hashLayer(level.baseTileMap) + " wall=" + hashLayer(level.wallTileMap) +
           " top=" + hashLayer(level.topTileMap) + "\n";
}
