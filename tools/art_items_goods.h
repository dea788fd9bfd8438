// The goods among the item pictures: food, drinks, coins, wands, fungi, ingredients, tool kits
// and small oddments. Each shape takes its form from the first label word (see art_items.h).
#pragma once

#include "tools/art_shapes.h"

#include <string>
#include <vector>

namespace artw {

// The goods shapes (names and drawing functions).
const std::vector<ShapeInfo>& GoodsShapeTable();

// The forms a goods shape knows, in order; empty for another name.
std::vector<std::string> GoodsShapeForms(const std::string& name);

}  // namespace artw
