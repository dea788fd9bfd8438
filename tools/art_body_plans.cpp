// The body plans of the monster families and the words of a creature entry (see
// art_creatures.h).
#include "tools/art_creatures.h"

#include "tools/art_draw.h"

#include <algorithm>
#include <sstream>

namespace artw {

const std::vector<BodyPlan>& BodyPlans() {
  // name, build, size, legs, tail, wings, horns, eyes, mouth, arms, mark
  static const std::vector<BodyPlan> plans = {
      {"burrower", Build::Round, 0.62f, 4, 0, 0, 4, 2, 2, false, 1},
      {"newt", Build::Quad, 0.6f, 4, 1, 0, 0, 2, 0, false, 1},
      {"leech", Build::Serpent, 0.55f, 0, 0, 0, 0, 0, 5, false, 6},
      {"eel", Build::Serpent, 0.8f, 0, 2, 0, 0, 2, 2, false, 3},
      {"knight", Build::Upright, 0.95f, 2, 0, 0, 7, -2, 0, true, 4},
      {"beetle", Build::Round, 0.7f, 6, 0, 0, 3, 2, 0, false, 3},
      {"gnoll", Build::Upright, 0.85f, 2, 1, 0, 4, 2, 4, true, 1},
      {"imp", Build::Upright, 0.66f, 2, 1, 1, 1, 2, 2, true, 0},
      {"hen", Build::Round, 0.6f, 2, 0, 2, 6, 2, 1, false, 0},
      {"golem", Build::Upright, 0.95f, 2, 0, 0, 0, -2, 0, true, 4},
      {"wisp", Build::Float, 0.75f, 0, 0, 0, 0, 2, 0, false, 0},
      {"lurker", Build::Round, 0.7f, 0, 0, 0, 3, 5, 3, false, 1},
      {"skeleton", Build::Upright, 0.9f, 2, 0, 0, 0, -2, 2, true, 2},
      {"stalker", Build::Quad, 0.78f, 4, 1, 0, 4, -2, 2, false, 3},
      {"behemoth", Build::Quad, 0.98f, 4, 3, 0, 1, 2, 4, false, 4},
      {"colossus", Build::Upright, 1.0f, 2, 0, 0, 0, -1, 0, true, 4},
      {"regent", Build::Upright, 0.92f, 2, 0, 0, 2, -2, 0, true, 5},
      {"maw", Build::Round, 0.85f, 0, 0, 0, 1, 1, 3, false, 0},
      {"eye", Build::Float, 0.85f, 0, 0, 0, 3, 1, 0, false, 0},
      {"wyrm", Build::Quad, 1.0f, 4, 3, 1, 1, 2, 2, false, 4},
      {"sorcerer", Build::Upright, 0.95f, 0, 0, 0, 1, -2, 0, true, 5},
      {"merchant", Build::Upright, 0.88f, 2, 0, 0, 8, 2, 0, true, 5},
      {"wraith", Build::Float, 0.9f, 0, 0, 0, 5, -2, 0, true, 0},
      {"bat", Build::Float, 0.6f, 0, 0, 1, 4, 2, 2, false, 0},
      {"crab", Build::Round, 0.66f, 6, 0, 0, 0, 2, 0, true, 4},
      {"spider", Build::Round, 0.72f, 6, 0, 0, 0, 5, 2, false, 0},
      {"jelly", Build::Round, 0.55f, 0, 0, 0, 0, 1, 0, false, 1},
      {"toad", Build::Quad, 0.68f, 4, 0, 0, 0, 2, 3, false, 1},
      {"ghoul", Build::Upright, 0.84f, 2, 0, 0, 0, -1, 2, true, 2},
      {"moth", Build::Float, 0.7f, 0, 0, 2, 3, 2, 0, false, 3},
      {"troll", Build::Upright, 1.0f, 2, 0, 0, 4, 1, 4, true, 1},
      {"scorpion", Build::Quad, 0.8f, 6, 3, 0, 0, 2, 0, false, 4},
      {"gargoyle", Build::Upright, 0.8f, 2, 0, 1, 1, -1, 2, true, 4},
      {"naga", Build::Serpent, 0.88f, 0, 1, 0, 2, 2, 2, true, 3},
      {"broodmother", Build::Round, 0.92f, 6, 0, 0, 2, 5, 3, false, 1},
      {"siren", Build::Serpent, 0.92f, 0, 2, 0, 2, -2, 0, true, 3},
      {"abbot", Build::Upright, 0.95f, 0, 0, 0, 5, -1, 0, true, 5},
      {"forgemaster", Build::Upright, 1.05f, 2, 0, 0, 7, -1, 4, true, 4},
      {"hollowking", Build::Float, 1.0f, 0, 0, 0, 2, -2, 3, true, 0},
      {"hero", Build::Upright, 1.25f, 2, 0, 0, 0, 2, 0, true, 0},
  };
  return plans;
}

const BodyPlan* FindBodyPlan(const std::string& name) {
  for (const BodyPlan& p : BodyPlans())
    if (name == p.name) return &p;
  return nullptr;
}

const std::vector<std::string>& HeldThingNames() {
  static const std::vector<std::string> names = {
      "sword", "axe", "mace", "staff", "bow", "throw", "fist", "wand", "sparks",
      "scroll", "bottle", "food", "stars", "bubbles", "waves"};
  return names;
}

bool ParseCreatureWords(const std::string& words, CreaturePose* pose, std::string* error) {
  static const std::pair<const char*, CreatureAction> kActions[] = {
      {"idle", CreatureAction::Idle}, {"atk", CreatureAction::Attack},
      {"hit", CreatureAction::Hit},   {"die", CreatureAction::Die},
      {"cast", CreatureAction::Cast}, {"run", CreatureAction::Run},
      {"sleep", CreatureAction::Sleep}, {"wait", CreatureAction::Wait}};
  std::stringstream ss(words);
  std::string w;
  while (ss >> w) {
    if (w.size() == 1 && std::string("udlr").find(w[0]) != std::string::npos) {
      pose->facing = w[0];
      continue;
    }
    bool known = false;
    for (const auto& a : kActions)
      if (w == a.first) {
        pose->action = a.second;
        known = true;
      }
    if (known) continue;
    if (w.compare(0, 6, "badge=") == 0) {
      if (!ParseColour(w.substr(6), &pose->badge)) {
        *error = "unknown badge colour '" + w.substr(6) + "'";
        return false;
      }
      pose->badge.a = 255;
      continue;
    }
    if (w.compare(0, 5, "hold=") == 0) {
      const std::string thing = w.substr(5);
      const auto& names = HeldThingNames();
      if (std::find(names.begin(), names.end(), thing) == names.end()) {
        *error = "unknown held thing '" + thing + "'";
        return false;
      }
      pose->hold = thing;
      continue;
    }
    *error = "unknown creature word '" + w + "' (u d l r, idle atk hit die cast run sleep wait, "
             "badge=<colour>, hold=<thing>)";
    return false;
  }
  return true;
}

}  // namespace artw
