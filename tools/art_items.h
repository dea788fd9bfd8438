// Item pictures of the art maker: one silhouette per kind of item (sword, axe, helm, ring,
// coins, bottle...), so that a player tells kinds apart by shape, and the metal or material of
// the item in its colour.
//
// Manifest use: the shape names the kind, the label names the material and, for kinds with
// several forms, the form: "sword steel", "bottle wine", "coins 3", "food apple". A material
// word of MaterialColour() gives the colour; for any other word the entry's colour is used.
#pragma once

#include "tools/art_shapes.h"

#include <string>
#include <vector>

namespace artw {

// Colour of a metal, armour material, gem or trap tier word ("rusty", "steel", "hide",
// "ruby"...). False for a word that is not one.
bool MaterialColour(const std::string& word, Rgba* out);

// The item shape of that name, or null.
ShapeFn FindItemShape(const std::string& name);

// Every item shape name, in table order.
std::vector<std::string> ItemShapeNames();

// The forms a shape knows (second label word, or first for kinds without a material), in
// order; empty for shapes with one form.
std::vector<std::string> ItemShapeForms(const std::string& name);

}  // namespace artw
