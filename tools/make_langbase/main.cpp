// make_langbase <source.txt> <output.db>
//
// Turns the UTF-8 text source of a language (syntax in app/lang_source.h)
// into the binary language base the game loads. Any fault in the source is
// reported as "file:line: message" on stderr with exit code 1, and no base is
// written.
#include <cstdio>
#include <string>
#include <vector>

#include "app/lang_source.h"
#include "platform/lines.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_langbase <source.txt> <output.db>\n");
    return 1;
  }
  const std::string source_path = argv[1];
  const std::string output_path = argv[2];

  std::string source;
  if (!plat::ReadFileBytes(source_path, source)) {
    std::fprintf(stderr, "%s: cannot read the file\n", source_path.c_str());
    return 1;
  }

  std::vector<sLangText> texts;
  sLangSourceError error;
  if (!ParseLangSource(source, texts, error)) {
    std::fprintf(stderr, "%s:%zu: %s\n", source_path.c_str(), error.line, error.message.c_str());
    return 1;
  }

  std::string db;
  if (!BuildLangBase(texts, db)) {
    std::fprintf(stderr, "%s: a text does not fit the language base\n", source_path.c_str());
    return 1;
  }
  if (!plat::WriteFileBytes(output_path, db)) {
    // Leave no half-written base behind for the build to take as current.
    std::remove(output_path.c_str());
    std::fprintf(stderr, "%s: cannot write the file\n", output_path.c_str());
    return 1;
  }
  return 0;
}
