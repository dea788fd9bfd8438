// Containers, furniture and breakables among the fixture pictures (coffin, fridge, bookshelf,
// barbecue, crates, pedestals, signposts, traps, urns and pots, splats on the floor).
#pragma once

#include "tools/art_shapes.h"

#include <string>
#include <vector>

namespace artw {

// The prop shapes (names and drawing functions).
const std::vector<ShapeInfo>& PropShapeTable();

// The forms a prop shape knows, in order; empty for another name.
std::vector<std::string> PropShapeForms(const std::string& name);

}  // namespace artw
