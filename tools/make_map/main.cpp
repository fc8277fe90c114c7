// make_map: writes "map.tdw" from the compact text description of a map
// (format in src/world/map_text.h).
//   make_map <description.txt> <output map.tdw>
#include <cstdio>
#include <string>

#include "platform/lines.h"
#include "world/map.h"
#include "world/map_text.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_map <description.txt> <output map.tdw>\n");
    return 2;
  }
  std::string text;
  if (!plat::ReadFileBytes(argv[1], text)) {
    std::fprintf(stderr, "make_map: cannot read %s\n", argv[1]);
    return 1;
  }
  cMap map;
  std::string error;
  if (!BuildMapFromText(text, map, error)) {
    std::fprintf(stderr, "make_map: %s: %s\n", argv[1], error.c_str());
    return 1;
  }
  if (!plat::WriteFileBytes(argv[2], map.MapFileBytes())) {
    std::fprintf(stderr, "make_map: cannot write %s\n", argv[2]);
    return 1;
  }
  std::printf("make_map: %s, %dx%d\n", argv[2], map.GetWidth(), map.GetHeight());
  return 0;
}
