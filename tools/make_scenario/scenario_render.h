// The pictures of a scenario drawn from its world: "image.png" (the scenario
// menu's picture), "minimap.png" (the map screen's minimap, the map in the
// top rows of a square picture, one texel per cell the way the ownership
// layer reads it), a flag per country under "Flags", and a large preview of
// the whole map beside the sources.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "scenario_sources.h"

class cWorld;

namespace scen {
// Draws the flag design onto a w x h RGBA picture (row by row, 4 bytes a
// pixel). Designs: "h:c1,c2,..." horizontal stripes, "v:c1,c2,..." vertical
// stripes, "nordic:field,cross[,inner]", "swiss:field,cross", "union",
// "greek", "crescent:field,symbol", "star:field,symbol",
// "hoist:c1,c2,c3,triangle", "plain:c". Colours are RRGGBB. False for a
// design it does not know.
bool DrawFlag(const std::string& design, int w, int h, std::vector<unsigned char>& rgba);
}  // namespace scen

// Writes image.png and minimap.png of the world into the scenario folder;
// throws std::runtime_error on failure.
void RenderScenarioImages(const cWorld& world, const std::filesystem::path& scenarioFolder);

// Writes image.png, minimap.png and Flags/<name>.png into the scenario folder
// and the preview picture; throws std::runtime_error on failure.
void RenderScenarioPictures(const cWorld& world, const std::vector<scen::sCountrySource>& countries,
                            const std::filesystem::path& scenarioFolder, const std::string& previewPath);
