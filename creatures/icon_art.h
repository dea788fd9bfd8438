#pragma once
// Icons of buffs, spells and abilities. An icon file that is missing (or an icon that names
// no file) prints the missing-art line once per request and shows a visible placeholder,
// instead of the broken-art report of the sprite loader.
#include <SDL.h>

#include <string>

class Sprite;

enum class IconLoad {
    Png,        // one-file PNG at its own size
    SpellXml,   // a frame list loaded as a spell's ".xml" icon
    BuffIcon,   // a buff's icon through the sprite table, at its own size
};

// The sprite of an icon file under the given sprite-table name, or the placeholder.
Sprite* LoadIconSprite(const std::string& spriteName, const std::string& file, IconLoad how);
// The shared placeholder sprite (kept in the sprite table).
Sprite* MissingIconSprite();
// A new surface of the icon image (the caller owns it), or a new placeholder surface when
// the file is missing or cannot be decoded (then *placeholder is set when given). `owner`
// names the record in the diagnostic.
SDL_Surface* LoadIconImage(const std::string& file, const std::string& owner, bool* placeholder = nullptr);
