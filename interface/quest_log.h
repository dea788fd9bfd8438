#pragma once
// The quest log: a modal panel over the live play screen listing the active quests in two
// tabs (in progress, completed), four to a page, each with a checkbox and an abandon button.
// ShowQuestLog (interface/dialogs.h) runs it; QuestUIArtLoad (interface/hud.h) reads its art.
#include <cstdint>
#include <vector>

class QuestRecord;

constexpr int32_t kQuestsPerPage = 4;
constexpr int32_t kQuestListLeft = 88;
constexpr int32_t kQuestListTop = 88;
constexpr int32_t kQuestListSize = 360;

// The active quests of a tab in ActiveQuests order: tab 0 stages below 2, tab 1 stage 2.
std::vector<QuestRecord*> QuestLogEntries(int32_t tab);
// Whether the page can move down: page * 4 + 4 below the number of entries.
bool QuestLogCanPageDown(int32_t page, int32_t count);

// The entry of the page whose abandon button holds the point relative to the panel, given the
// heights of the page's descriptions in order; -1 for none. Only the part of a button inside
// the list's 360-pixel clip answers.
int32_t QuestAbandonButtonAt(int32_t rx, int32_t ry, const std::vector<int32_t>& heights);

// The abandon buttons call AbandonQuest (items_fixtures/quest.h).

// Frees the quest log's art (QuestUIArtLoad reads it again).
void FreeQuestUIArt();
