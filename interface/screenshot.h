#pragma once
// Screenshots: the screen surface written as a BMP into the user folder.
#include <SDL.h>

#include <string>

// The number of screenshot names tried: "bitmap_0.bmp" to "bitmap_998.bmp".
constexpr int kScreenshotNameCount = 999;

// Writes the surface (the screen surface when null) to the first of "bitmap_0.bmp" ..
// "bitmap_998.bmp" in the user folder that does not exist yet. Returns the path written, or an
// empty text when every name is taken, there is nothing to write or the file cannot be made.
std::string SaveScreenshot(SDL_Surface* surface = nullptr);
