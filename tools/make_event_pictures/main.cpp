// make_event_pictures: draws the pictures of Europe 1939's scripted events
// (512 x 512 PNG, shown by the event dialog from data/events/).
//   make_event_pictures <scenario source folder> <scenario folder> <events picture folder> [<font file>]
// The campaign maps are drawn from the scenario's own map and owners (its
// readable sources and its sea_nodes.csv); the other scenes are period
// silhouettes. Plain arithmetic in a fixed order: the output is the same on
// every run.
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "make_event_pictures/map_scene.h"
#include "make_event_pictures/scenes.h"

namespace fs = std::filesystem;
using evpic::Arrow;
using evpic::Canvas;
using evpic::Col;
using evpic::MapScene;

namespace {

const Col kGerman{64, 66, 72, 255};
const Col kSoviet{176, 30, 26, 255};
const Col kItalian{44, 112, 52, 255};
const Col kHungarian{120, 150, 90, 255};

MapScene View(float centreX, float centreY, float columns) {
  MapScene scene;
  scene.centreX = centreX;
  scene.centreY = centreY;
  scene.columns = columns;
  return scene;
}

struct Picture {
  std::string file;
  std::string title;
  std::string date;
  std::function<void(Canvas&)> draw;
};

std::vector<Picture> Pictures(const evscript::ScenarioGeo& geo, const std::vector<Col>& colours, const evpic::Fonts& fonts) {
  auto map = [&geo, &colours, &fonts](MapScene scene) {
    return [&geo, &colours, &fonts, scene](Canvas& k) { evpic::DrawMap(k, fonts, geo, colours, scene); };
  };
  const int pl = geo.Country("PL"), ro = geo.Country("RO"), su = geo.Country("SU"), lt = geo.Country("LT");
  const int hu = geo.Country("HU"), bg = geo.Country("BG");
  const evscript::Hex wilno = geo.City("Wilno");
  std::vector<Picture> p;

  MapScene partition = View(52, 23, 26);
  partition.newOwner = [&geo, pl, su, lt, wilno](int x, int y) {
    if (geo.OwnerIn1939(x, y) != pl) return 0;
    if (x == wilno.x && y == wilno.y) return lt;
    return x >= 55 ? su : 0;
  };
  partition.arrows = {{{{40, 21}, {45, 22}, {49, 23}}, kGerman},
                      {{{45, 28}, {48, 26}, {50, 25}}, kGerman},
                      {{{51, 19}, {53, 21}, {54, 23}}, kGerman},
                      {{{64, 21}, {60, 22}, {57, 23}}, kSoviet},
                      {{{64, 28}, {61, 28}, {58, 27}}, kSoviet}};
  partition.cities = {"Warsaw", "Krakow", "Lwow", "Wilno", "Danzig", "Brest-Litovsk"};
  p.push_back({"europe1939_partition.png", "THE PARTITION OF POLAND", "September 1939", map(partition)});

  MapScene baltic = View(60, 13, 24);
  baltic.newOwner = [&geo, su](int x, int y) {
    const int o = geo.OwnerIn1939(x, y);
    return o == geo.Country("EE") || o == geo.Country("LV") || o == geo.Country("LT") ? su : 0;
  };
  baltic.arrows = {{{{69, 11}, {64, 10}, {59, 10}}, kSoviet},
                   {{{68, 16}, {63, 16}, {58, 15}}, kSoviet},
                   {{{66, 21}, {61, 19}, {57, 18}}, kSoviet}};
  baltic.cities = {"Tallinn", "Riga", "Kaunas", "Leningrad", "Helsinki"};
  p.push_back({"europe1939_baltic.png", "THE BALTIC STATES", "1939 - 1940", map(baltic)});

  MapScene weser = View(31, 11, 30);
  weser.arrows = {{{{32, 20}, {33, 18}, {35, 17}}, kGerman},
                  {{{31, 20}, {30, 15}, {32, 11}, {34, 9}}, kGerman},
                  {{{29, 20}, {25, 15}, {25, 9}}, kGerman},
                  {{{29, 19}, {27, 11}, {31, 4}, {33, 3}}, kGerman}};
  weser.cities = {"Oslo", "Bergen", "Copenhagen", "Trondheim", "Kiel"};
  p.push_back({"europe1939_weserubung.png", "OPERATION WESERUBUNG", "April 1940", map(weser)});

  MapScene gelb = View(22, 28, 24);
  gelb.arrows = {{{{31, 28}, {27, 28}, {24, 28}, {20, 27}, {18, 26}}, kGerman},
                 {{{29, 24}, {26, 24}, {24, 23}}, kGerman},
                 {{{29, 26}, {26, 26}, {23, 26}}, kGerman}};
  gelb.cities = {"Paris", "Brussels", "Amsterdam", "Dunkirk", "Metz"};
  p.push_back({"europe1939_fall_gelb.png", "FALL GELB", "May 1940", map(gelb)});

  MapScene italy = View(45, 50, 46);
  italy.arrows = {{{{31, 36}, {28, 36}, {25, 36}}, kItalian}, {{{50, 62}, {56, 62}, {61, 63}, {64, 64}}, kItalian}};
  italy.cities = {"Rome", "Tobruk", "Benghazi", "Valletta", "Tripoli", "Marseille"};
  p.push_back({"europe1939_italy.png", "ITALY ENTERS THE WAR", "10 June 1940", map(italy)});

  MapScene bessarabia = View(60, 33, 22);
  bessarabia.newOwner = [&geo, ro, su](int x, int y) {
    return geo.OwnerIn1939(x, y) == ro && ((x >= 63 && y <= 36) || y <= 31) ? su : 0;
  };
  bessarabia.arrows = {{{{70, 31}, {67, 32}, {64, 33}}, kSoviet}, {{{64, 26}, {62, 28}, {61, 30}}, kSoviet}};
  bessarabia.cities = {"Bucharest", "Chisinau", "Cernauti", "Odessa", "Iasi"};
  p.push_back({"europe1939_bessarabia.png", "BESSARABIA", "June 1940", map(bessarabia)});

  MapScene vienna = View(57, 35, 22);
  vienna.newOwner = [&geo, ro, hu, bg](int x, int y) {
    if (geo.OwnerIn1939(x, y) != ro) return 0;
    if (x >= 52 && x <= 58 && y >= 32 && y <= 35) return hu;
    return x >= 61 && y >= 39 ? bg : 0;
  };
  vienna.arrows = {{{{49, 33}, {51, 33}, {53, 33}}, kHungarian}};
  vienna.cities = {"Budapest", "Cluj", "Bucharest", "Varna", "Belgrade"};
  p.push_back({"europe1939_vienna.png", "THE SECOND VIENNA AWARD", "30 August 1940", map(vienna)});

  MapScene balkans = View(52, 44, 26);
  balkans.arrows = {{{{42, 35}, {46, 36}, {49, 37}}, kGerman},
                    {{{58, 42}, {56, 45}, {55, 48}}, kGerman},
                    {{{48, 44}, {50, 46}, {51, 48}}, kItalian}};
  balkans.cities = {"Belgrade", "Athens", "Sofia", "Tirana", "Thessaloniki", "Zagreb"};
  p.push_back({"europe1939_balkans.png", "WAR IN THE BALKANS", "1940 - 1941", map(balkans)});

  MapScene barbarossa = View(64, 21, 44);
  // The borders of June 1941: Poland divided, the Baltic states and
  // Bessarabia Soviet.
  barbarossa.newOwner = [&geo, pl, ro, su](int x, int y) {
    const int o = geo.OwnerIn1939(x, y);
    if (o == pl) return x >= 55 ? su : geo.Country("DE");
    if (o == geo.Country("EE") || o == geo.Country("LV") || o == geo.Country("LT")) return su;
    return o == ro && ((x >= 63 && y <= 36) || y <= 31) ? su : 0;
  };
  barbarossa.arrows = {{{{52, 17}, {57, 15}, {62, 12}, {66, 10}}, kGerman},
                       {{{50, 22}, {56, 21}, {63, 19}, {70, 18}, {76, 17}}, kGerman},
                       {{{52, 28}, {58, 29}, {63, 28}, {66, 27}}, kGerman}};
  barbarossa.cities = {"Moscow", "Leningrad", "Kiev", "Minsk", "Smolensk", "Warsaw"};
  p.push_back({"europe1939_barbarossa.png", "OPERATION BARBAROSSA", "22 June 1941", map(barbarossa)});

  p.push_back({"europe1939_pact.png", "THE PACT", "1939 - 1941",
               [&fonts](Canvas& k) { evpic::TreatyScene(k, fonts, "TREATY"); }});
  p.push_back({"europe1939_winter_war.png", "THE WINTER WAR", "1939 - 1941", [](Canvas& k) { evpic::WinterScene(k, false); }});
  p.push_back({"europe1939_winter.png", "GENERAL WINTER", "December 1941", [](Canvas& k) { evpic::WinterScene(k, true); }});
  p.push_back({"europe1939_catapult.png", "OPERATION CATAPULT", "3 July 1940", [](Canvas& k) { evpic::SeaScene(k, true); }});
  p.push_back({"europe1939_convoy.png", "THE CONVOYS", "1940 - 1941", [](Canvas& k) { evpic::SeaScene(k, false); }});
  p.push_back({"europe1939_blitz.png", "THE BLITZ", "September 1940", [](Canvas& k) { evpic::BlitzScene(k); }});
  p.push_back({"europe1939_fall_of_france.png", "THE FALL OF FRANCE", "June 1940", [](Canvas& k) { evpic::ParisScene(k); }});
  p.push_back({"europe1939_afrika.png", "THE AFRIKA KORPS", "February 1941", [](Canvas& k) { evpic::DesertScene(k); }});
  p.push_back({"europe1939_evacuation.png", "FACTORIES GO EAST", "Summer 1941",
               [&fonts](Canvas& k) { evpic::TrainScene(k, fonts, false); }});
  p.push_back({"europe1939_hendaye.png", "THE MEETING AT HENDAYE", "23 October 1940",
               [&fonts](Canvas& k) { evpic::TrainScene(k, fonts, true); }});
  p.push_back({"europe1939_churchill.png", "WESTMINSTER", "May 1940", [](Canvas& k) { evpic::WestminsterScene(k); }});
  return p;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4 || argc > 5) {
    std::fprintf(stderr, "usage: make_event_pictures <scenario source folder> <scenario folder> <picture folder> [<font file>]\n");
    return 2;
  }
  const std::string fontFile = argc > 4 ? argv[4] : "/usr/share/fonts/truetype/liberation2/LiberationSerif-Bold.ttf";
  if (TTF_Init() != 0) {
    std::fprintf(stderr, "make_event_pictures: %s\n", TTF_GetError());
    return 1;
  }
  evpic::Fonts fonts;
  // Opened at the large canvas's size (twice the final one).
  fonts.caption = TTF_OpenFont(fontFile.c_str(), 22 * evpic::kSuper);
  fonts.small = TTF_OpenFont(fontFile.c_str(), 12 * evpic::kSuper);
  int rc = 0;
  try {
    if (fonts.caption == nullptr || fonts.small == nullptr) throw std::runtime_error("cannot open " + fontFile);
    const evscript::ScenarioGeo geo(argv[1], argv[2]);
    const std::vector<Col> colours = evpic::CountryColours(argv[1]);
    fs::create_directories(argv[3]);
    for (const auto& picture : Pictures(geo, colours, fonts)) {
      Canvas k(evpic::kSize * evpic::kSuper, evpic::kSize * evpic::kSuper, float(evpic::kSuper));
      picture.draw(k);
      evpic::Finish(k, fonts, picture.title, picture.date);
      const std::string error = evpic::Save(k, (fs::path(argv[3]) / picture.file).string());
      if (!error.empty()) throw std::runtime_error(error);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_event_pictures: %s\n", e.what());
    rc = 1;
  }
  if (fonts.caption != nullptr) TTF_CloseFont(fonts.caption);
  if (fonts.small != nullptr) TTF_CloseFont(fonts.small);
  TTF_Quit();
  return rc;
}
