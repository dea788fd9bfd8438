#pragma once
// What monsters say ("speech.xml").
//
// Stand-in: the loader reads nothing yet. Still to be built here: reading the speech
// lines per monster kind and picking lines for monster barks.
#include <cstddef>

void LoadSpeechDB();
size_t SpeechLineCount();
