#pragma once
// The pictures the play screen, its panels and the status overlays share, loaded once at
// start-up.
//
// Stand-in: only the panel loaders that this step calls are run (minimap icons, glints,
// character panel, crafting panel); no other image or sprite is read yet. Still to be built
// here: the stat and damage icons, the close buttons and other UI images,
// the numeral sprites (1..10, "?" and "!"), spell / goto / quality-star / guide-arrow
// sprites, the status overlays (daze, burning, oil, bleeding, sleep, hearts, water
// walking, quest mark, experience medal, hero glow) with their global Bobs, the buff
// sprite-table entries, the liquids tileset, dither / digit / tile-overlay / inventory
// images (with alpha and RLE), the shades sprite and the game-over image.
void LoadGlobalImages();
