// Creatures of the generated art: a body plan per monster family (build, legs, tail, wings,
// horns, eyes, mouth, size) drawn from the front, the back and either side, with the
// animations of the game's sprites (idle, attack, hit flash, shrink-and-fade death...) and,
// for the hero, overlays that show an action without changing the body.
//
// A manifest entry picks a plan and a colour, then optional words in its label:
//   creature <plan> <colour> [u|d|l|r] [idle|atk|hit|die|cast|run|sleep|wait]
//            [badge=<colour>] [hold=<thing>]
// u, d, l, r: the facing (d, towards the viewer, by default); badge: an accessory in a second
// colour that marks a variant; hold: an overlay (see HeldThingNames).
#pragma once

#include "tools/art_writer.h"

#include <string>
#include <vector>

namespace artw {

enum class Build { Round, Quad, Upright, Serpent, Float };

// Features of a body plan; the numbers pick a variety of each part (0: none).
struct BodyPlan {
  const char* name;
  Build build;
  float size;  // height as a share of the picture (about 0.5 to 1.3)
  int legs;    // 0, 2, 4 or 6
  int tail;    // 1 thin, 2 fin, 3 thick and spiked
  int wings;   // 1 bat, 2 feathered
  int horns;   // 1 horns, 2 crown, 3 antennae, 4 pointed ears, 5 hood, 6 comb, 7 helmet,
               // 8 hat
  int eyes;    // 1, 2, 3 or 5 (many); negative: glowing
  int mouth;   // 1 beak, 2 fangs, 3 maw, 4 snout, 5 sucker
  bool arms;
  int mark;    // 1 spots, 2 ribs, 3 stripes, 4 plates, 5 robe, 6 segments
};

enum class CreatureAction { Idle, Attack, Hit, Die, Cast, Run, Sleep, Wait };

struct CreaturePose {
  const BodyPlan* plan = nullptr;
  Rgba body{128, 128, 128, 255};
  Rgba badge{0, 0, 0, 0};  // alpha 0: no badge
  char facing = 'd';
  CreatureAction action = CreatureAction::Idle;
  std::string hold;
  int frame = 0;
  int frames = 1;
};

const std::vector<BodyPlan>& BodyPlans();
const BodyPlan* FindBodyPlan(const std::string& name);
const std::vector<std::string>& HeldThingNames();

// Reads the label words of a creature entry into the pose. False with a reason on an unknown
// word or a bad colour.
bool ParseCreatureWords(const std::string& words, CreaturePose* pose, std::string* error);

// Draws one frame of the pose over the whole canvas (transparent around the creature).
void DrawCreature(Canvas& c, const CreaturePose& pose);

// The overlay of a held thing or an action (weapons, drinks, stars...), drawn over a finished
// creature whose feet stand at (ax, ay); unit is the picture's smaller side.
void DrawHeldThing(Canvas& c, const CreaturePose& pose, float ax, float ay, float unit);

}  // namespace artw
