// Fixture pictures of the art maker: a shape per kind of fixture (door, chest, lever, fountain,
// vending cabinet, statue, anvil, coffin, shelf, shrine...) so that a player tells them apart
// without reading a word, with their states (a door open or shut, a lever tilted, a chest's
// lid up) in the frames of their animation.
//
// Manifest use: the shape names the kind; the label picks the form or part ("door ns_left",
// "vending food", "statue zarnoch", "chest locked"); the colour is the main material.
#pragma once

#include "tools/art_shapes.h"

#include <string>
#include <vector>

namespace artw {

// The fixture shape of that name, or null.
ShapeFn FindFixtureShape(const std::string& name);

// Every fixture shape name, in table order.
std::vector<std::string> FixtureShapeNames();

// The forms a fixture shape knows (first label word), in order; empty for one form.
std::vector<std::string> FixtureShapeForms(const std::string& name);

// A flight of steps going down into a dark opening (or up out of it), with an arrow that says
// which, drawn into the square cell at (x0, y0) of a tile sheet.
void DrawStairsCell(Canvas& c, int x0, int y0, int size, bool up, Rgba stone);

}  // namespace artw
