#include "creatures/monster_names.h"

#include "core/text_db.h"

std::string MakeMonsterName() {
    const TextDB& db = GetTextDB();
    std::string name = PickRandomWord(db.startPhonemes);
    name += PickRandomWord(db.phonemes);
    name += PickRandomWord(db.phonemes);
    name += " the ";
    name += PickRandomWord(db.titles);
    name += " ";
    name += PickRandomWord(db.nounPlurals);
    return name;
}
