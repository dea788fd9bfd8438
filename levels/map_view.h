#pragma once
// The camera of the map: the tile size, the square drawn at the top-left corner of the
// screen (the view origin) and how many pixels of that square lie left of and above the
// screen edge. The play screen computes it from the hero each frame and hands it to every
// drawing call of the level and its objects.
#include <cstdint>

struct MapView {
    int32_t tileWidth = 64;
    int32_t tileHeight = 64;
    int32_t originX = 0;
    int32_t originY = 0;
    int32_t pixelX = 0;
    int32_t pixelY = 0;
};
