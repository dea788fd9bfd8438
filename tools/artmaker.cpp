// Placeholder art maker: reads the art manifest (data/art_manifest.txt, format described at its
// top) and writes every picture it lists under the game folder.
//   artmaker <manifest> <output folder>
#include "tools/art_manifest.h"

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::printf("usage: %s <manifest> <output folder>\n", argc > 0 ? argv[0] : "artmaker");
    return 2;
  }
  const int result = artw::RunArtManifest(argv[1], argv[2]);
  artw::CloseLabelFonts();
  return result;
}
