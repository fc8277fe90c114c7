// make_layout <source.txt> <output.csv> [WIDTHxHEIGHT]
//
// Turns the readable layout source (syntax at the top of
// layout_1024x768.txt) into the semicolon-separated layout file the game
// loads: one header line, the rectangles, a second header line, the fonts;
// CR LF line ends. The source describes a 1024 x 768 screen; with a screen
// size the file for that resolution is derived from it by the anchors of the
// source (see layout_rules.h), so every entry of the source appears in every
// resolution. A fault in the source is reported as "file:line: message" on
// stderr with exit code 1, and nothing is written.
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "layout_rules.h"
#include "platform/lines.h"

namespace {

bool ToInt(const std::string& token, long& out) {
  if (token.empty()) return false;
  char* end = nullptr;
  out = std::strtol(token.c_str(), &end, 10);
  return *end == '\0';
}

bool ParseSize(const std::string& text, int& width, int& height) {
  const std::size_t x = text.find('x');
  if (x == std::string::npos) return false;
  long w = 0, h = 0;
  if (!ToInt(text.substr(0, x), w) || !ToInt(text.substr(x + 1), h)) return false;
  if (w < 320 || h < 240 || w > 16384 || h > 16384) return false;
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: make_layout <source.txt> <output.csv> [WIDTHxHEIGHT]\n");
    return 1;
  }
  layout::sScreen screen{layout::kSourceWidth, layout::kSourceHeight};
  if (argc == 4 && !ParseSize(argv[3], screen.width, screen.height)) {
    std::fprintf(stderr, "make_layout: not a screen size: %s\n", argv[3]);
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
  layout::sAnchor anchor = layout::DefaultAnchor();
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
    if (tokens[0] == "[anchor") {
      if (section != kRectangles) return fail(n, "an anchor stands among the rectangles only");
      std::string words;
      for (std::size_t i = 1; i < tokens.size(); ++i) words += (i > 1 ? " " : "") + tokens[i];
      if (words.empty() || words.back() != ']') return fail(n, "an anchor line ends with ']'");
      words.pop_back();
      if (!layout::ParseAnchor(words, anchor)) return fail(n, "unknown anchor: " + words);
      continue;
    }

    std::vector<long> values(tokens.size(), 0);
    for (std::size_t i = 0; i < tokens.size(); ++i) {
      const bool isFace = section == kFonts && i == 1;
      if (!isFace && !ToInt(tokens[i], values[i])) return fail(n, "not a number: " + tokens[i]);
      if (tokens[i].find(';') != std::string::npos) return fail(n, "a ';' cannot stand in a field");
    }
    const long id = values[0];
    if (section == kRectangles) {
      if (tokens.size() != 5) return fail(n, "a rectangle needs id, x, y, width and height");
      if (id < 0 || id > 1499) return fail(n, "the id must be 0..1499");
      const layout::sRect r = layout::Place(anchor, {static_cast<int>(values[1]), static_cast<int>(values[2]),
                                                     static_cast<int>(values[3]), static_cast<int>(values[4])},
                                            screen);
      rectangles += std::to_string(id) + ';' + std::to_string(r.x) + ';' + std::to_string(r.y) + ';' +
                    std::to_string(r.width) + ';' + std::to_string(r.height) + '\n';
    } else if (section == kFonts) {
      if (tokens.size() != 10) return fail(n, "a font needs index, face, height, weight and two colours");
      if (id < 1 || id > 8) return fail(n, "the font index must be 1..8");
      std::string out = tokens[0] + ';' + tokens[1] + ';' + std::to_string(layout::FontHeight(values[2], screen));
      for (std::size_t i = 3; i < tokens.size(); ++i) out += ';' + tokens[i];
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
