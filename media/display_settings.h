#pragma once
// Display switches the pictures are made with. They belong to media; the configuration
// reads them from config.xml and writes them back.
#include <cstdint>

extern int32_t smoothScaling;      // smooth the doubled pictures (not 0: on)
extern int32_t enableColourBlind;  // colour-blind outlines (not 0: on)
