// make_layout <source.txt> <output.csv>
//
// Turns the readable layout source of one screen resolution (syntax at the top
// of layout_1024x768.txt) into the semicolon-separated layout file the game
// loads: one header line, the rectangles, a second header line, the fonts;
// CR LF line ends. A fault in the source is reported as "file:line: message"
// on stderr with exit code 1, and nothing is written.
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "platform/lines.h"

namespace {

bool ToInt(const std::string& token, long& out) {
  if (token.empty()) return false;
  char* end = nullptr;
  out = std::strtol(token.c_str(), &end, 10);
  return *end == '\0';
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_layout <source.txt> <output.csv>\n");
    return 1;
  }
  const std::string sourcePath = argv[1];
  std::string source;
  if (!plat::ReadFileBytes(sourcePath, source)) {
    std::fprintf(stderr, "%s: cannot read the file\n", sourcePath.c_str());
    return 1;
  }

  auto fail = [&](std::size_t line, const std::string& message) {
    std::fprintf(stderr, "%s:%zu: %s\n", sourcePath.c_str(), line, message.c_str());
    return 1;
  };

  std::string rectangles, fonts;
  enum { kNone, kRectangles, kFonts } section = kNone;
  plat::LineReader lines(source);
  std::string_view raw;
  while (lines.Next(raw)) {
    std::string line(raw.substr(0, raw.find("//")));
    std::istringstream in(line);
    std::vector<std::string> tokens;
    for (std::string t; in >> t;) tokens.push_back(t);
    if (tokens.empty()) continue;
    const std::size_t n = lines.LineNumber();
    if (tokens.size() == 1 && tokens[0] == "[rectangles]") {
      section = kRectangles;
      continue;
    }
    if (tokens.size() == 1 && tokens[0] == "[fonts]") {
      section = kFonts;
      continue;
    }

    std::string out;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
      long v = 0;
      const bool isFace = section == kFonts && i == 1;
      if (!isFace && !ToInt(tokens[i], v)) return fail(n, "not a number: " + tokens[i]);
      if (tokens[i].find(';') != std::string::npos) return fail(n, "a ';' cannot stand in a field");
      if (i > 0) out += ';';
      out += tokens[i];
    }
    long id = 0;
    ToInt(tokens[0], id);
    if (section == kRectangles) {
      if (tokens.size() != 5) return fail(n, "a rectangle needs id, x, y, width and height");
      if (id < 0 || id > 1499) return fail(n, "the id must be 0..1499");
      rectangles += out + '\n';
    } else if (section == kFonts) {
      if (tokens.size() != 10) return fail(n, "a font needs index, face, height, weight and two colours");
      if (id < 1 || id > 8) return fail(n, "the font index must be 1..8");
      fonts += out + '\n';
    } else {
      return fail(n, "a line before the first section");
    }
  }

  const std::string csv = "# id;x;y;width;height (made by make_layout)\n" + rectangles +
                          "# index;face;height;weight;R;G;B;R2;G2;B2\n" + fonts;
  if (!plat::WriteFileBytes(argv[2], plat::ToCrLf(csv))) {
    std::fprintf(stderr, "%s: cannot write the file\n", argv[2]);
    return 1;
  }
  return 0;
}
