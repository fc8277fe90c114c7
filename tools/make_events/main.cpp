// make_events: writes the scripted events of "Europe, September 1939".
//   make_events <scenario source folder> <scenario folder>
// The events are written in europe1939_events.cpp; the tool resolves their
// country codes, city names and sea zones against the scenario (its readable
// sources and its written sea_nodes.csv), checks them as the game's loader
// would and more (every event stops itself with a flag, a visible event
// offers a choice, hexes lie on the map and units on land), then writes the
// XML files into "<scenario folder>/events/" and the list "event_files.txt"
// whose lines are paths from the game's working folder. Nothing is written
// when a check fails (exit 1).
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>

#include "make_events/europe1939_events.h"
#include "common/crlf.h"

namespace fs = std::filesystem;

namespace {

void Write(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_events <scenario source folder> <scenario folder>\n");
    return 2;
  }
  try {
    const fs::path sources = argv[1];
    const fs::path scenario = argv[2];
    const evscript::ScenarioGeo geo(sources, scenario);
    const std::vector<evscript::Event> events = evscript::Europe1939Events(geo);
    const std::vector<std::string> errors = evscript::CheckEvents(
        events, geo.CountryCount(), geo.Width(), geo.Height(), [&geo](int x, int y) { return geo.IsLand(x, y); },
        [&geo](int x, int y) { return geo.OccupiedAtStart(x, y); });
    if (!errors.empty()) {
      for (const std::string& e : errors) std::fprintf(stderr, "make_events: %s\n", e.c_str());
      return 1;
    }
    const std::string name = scenario.filename().empty() ? scenario.parent_path().filename().string()
                                                         : scenario.filename().string();
    fs::create_directories(scenario / "events");
    std::string list = "; The scenario's event files, written by make_events; paths from the game's working folder.\n";
    for (const std::string& file : evscript::Europe1939EventFiles()) {
      Write(scenario / "events" / file, evscript::WriteXml(events, file));
      list += "data/scenarios/" + name + "/events/" + file + "\n";
    }
    Write(scenario / "event_files.txt", Crlf(list));
    std::printf("make_events: %zu events in %zu files\n", events.size(), evscript::Europe1939EventFiles().size());
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_events: %s\n", e.what());
    return 1;
  }
}
