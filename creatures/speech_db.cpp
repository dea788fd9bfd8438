#include "creatures/speech_db.h"

void LoadSpeechDB() {}

size_t SpeechLineCount() {
    return 0;
}
