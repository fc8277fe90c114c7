// The hex grid of one world: its cells, the per-hex decorations, the marked
// cells and front nodes other parts keep on it, and the map view on the
// screen (position, zoom, glide, visible columns and rows, minimap outline).
#pragma once

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/texture.h"
#include "world/hex.h"

// Per-hex map decoration, filled by the scenario loader.
struct sEyeCandy {
  std::uint32_t words[6] = {};
  float scale = -1.0f;
  std::int32_t alpha = 100;

  // The six words become 0 and the integer 100; the float stays.
  void Reset();
};

struct sMapCoord {
  int x = 0;
  int y = 0;
  bool operator==(const sMapCoord&) const = default;
};

struct sMapPointF {
  float x = 0.0f;
  float y = 0.0f;
};

struct sMinimapRect {
  int x = 0, y = 0, width = 0, height = 0;
};

// A 4 x 4 matrix, used here only for 2-D scalings.
struct sMatrix4 {
  float m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
  static sMatrix4 Scaling(float sx, float sy);
};

// How a sea-zone id reads in the world's sea graph.
enum class eSeaNodeKind { kNone, kOpenSea, kPort };
using SeaNodeLookup = std::function<eSeaNodeKind(int seaZone)>;
// The first colour (0xAARRGGBB) of a country by its id.
using CountryColourLookup = std::function<std::uint32_t(int countryId)>;

// The old map a scenario folder may hold, and the file its conversion writes
// beside it.
constexpr const wchar_t* kOldMapFileName = L"map.hmf";
constexpr const wchar_t* kConvertedMapFileName = L"output_map.tdw";

// Outcome of reading a map file. Every failure but kOk has been logged; the
// map constructor turns it into the end of the process (exit code 1), while
// a caller such as the fuzz target only looks at it.
enum class eMapReadResult {
  kOk,
  kCannotOpen,    // "Loading from %s... FAILED"
  kWrongVersion,  // "ERROR: Wrong map file version"
  kZeroSize,      // "ERROR: Map cannot have 0 heigth or 0 width"
  kTruncated,     // "ERROR: Map file \"%s\" is shorter than its header says"
  kBadSize,       // "ERROR: Wrong map size %ix%i" (old format: a negative or huge size)
  kBadValue,      // a hex with an unknown terrain code
};

// How the conversion of the old map ended: written, or what stopped it.
enum class eMapConversion {
  kDone,         // "output_map.tdw" written whole
  kCannotOpen,   // "map.hmf" cannot be read
  kZeroSize,     // "map.hmf" gives a width or a height of 0
  kBadSize,      // "map.hmf" gives a negative or huge size (x by y)
  kTruncated,    // "map.hmf" is shorter than its size says
  kBadTerrain,   // a hex (x, y) of "map.hmf" has a terrain code the map reader refuses
  kBadWeather,   // a line of "weather.csv" gives a weather code out of 0 to 2
  kCannotWrite,  // "output_map.tdw" cannot be written
};

struct sMapConversion {
  eMapConversion result = eMapConversion::kDone;
  // The file written, or the one that stopped the conversion, as the path
  // pattern names it.
  std::wstring file;
  // Where: the hex (kBadTerrain) or the size (kBadSize) in x and y, the
  // file's line (kBadWeather, the first line is 1), and the code found.
  int x = 0, y = 0, line = 0, code = 0;
  explicit operator bool() const { return result == eMapConversion::kDone; }
};

namespace plat {
class SpriteBatch;
}

// What the map's drawing keeps of a map between frames (the pictures of its
// rows, map_drawing/map_render.cpp). The map holds it for the drawing and
// lets go of it when its cells go: cleared or destroyed.
class cMapKeptPictures {
 public:
  virtual ~cMapKeptPictures() = default;
};

class cWorld;

class cMap {
 public:
  // An empty map: no cells, view at 0, front-node distance -1.
  cMap();
  // Loads "map.tdw" through the path pattern (one "%s" for the file name) and
  // runs the post-load passes. A file that cannot be used is a fatal data
  // error: the log line, then the end of the process with exit code 1.
  explicit cMap(std::wstring_view pathPattern);
  ~cMap();
  cMap(const cMap&) = delete;
  cMap& operator=(const cMap&) = delete;

  // --- Map file (map_file.cpp) ---
  // Reads a whole "map.tdw" image (path only for the log lines) into this
  // map and runs the post-load passes; on a failure the map is left empty.
  eMapReadResult ReadMapBytes(std::string_view bytes, const std::wstring& pathForLog);
  // Opens the file and reads it as above.
  eMapReadResult ReadMapFile(const std::wstring& path);
  // The file image of this map.
  std::string MapFileBytes() const;
  // With a pattern the file is the pattern with "output_map.tdw"; without
  // one it is folder + "\map.tdw". Returns false (after the log line) when
  // the file cannot be written.
  bool SaveMapFile(std::wstring_view folder, std::wstring_view pathPattern = {});
  // Converts the old map "map.hmf" with "weather.csv", "winter_area.csv"
  // and "mud_area.csv", all found through the pattern, into
  // "output_map.tdw" beside them. The cells of this map are replaced, so
  // convert into a map of its own, never the one a world plays on. The
  // outcome names the file written, or the file that stopped it and why:
  // "map.hmf" that cannot be read, gives no usable size or holds a terrain
  // code the map reader refuses, a weather code the reader would not take,
  // or "output_map.tdw" that cannot be written (each case logged). Then
  // nothing is written and a former "output_map.tdw" stays as it was; a
  // missing weather file is logged and skipped.
  sMapConversion ConvertHmfMap(std::wstring_view pathPattern);
  // Reads the old map for the conversion: a whole "map.hmf" image (path only
  // for the log lines). An accepted image replaces all the map held; a
  // refused one leaves the map as it was and, when asked, fills refusal with
  // the reason, the path and where.
  eMapReadResult ReadHmfBytes(std::string_view bytes, const std::wstring& pathForLog,
                              sMapConversion* refusal = nullptr);
  // The weather files of the conversion, from their text: "weather.csv",
  // and an area file ("winter_area.csv" when winter, else "mud_area.csv").
  // A weather line whose code is out of 0 to 2 is logged and refused with
  // the lines after it: false, and refusal (when asked) says which line.
  bool ApplyWeatherText(std::string_view text, const std::wstring& pathForLog, sMapConversion* refusal = nullptr);
  void ApplyAreaText(std::string_view text, bool winter, const std::wstring& pathForLog);

  // --- Grid and geometry (map.cpp) ---
  int GetWidth() const { return width_; }
  int GetHeight() const { return height_; }
  bool IsInside(int x, int y) const { return x >= 0 && x < width_ && y >= 0 && y < height_; }
  // The cell at (x, y); outside the grid (or on an empty map) the first
  // cell, which on an empty map is a default cell of its own.
  sHex& GetHex(int x, int y);
  const sHex& GetHex(int x, int y) const;
  // Sizes and the initial view bounds. The cells are not touched.
  void SetWidth(int w);
  void SetHeight(int h);
  // Replaces the cells by width x height default cells placed at their
  // coordinates (the size must have been set).
  void CreateHexes();
  std::vector<sHex>& Hexes() { return hexes_; }
  const std::vector<sHex>& Hexes() const { return hexes_; }

  void GetNeighbourCoords(int x, int y, int dir, int& nx, int& ny) const;
  sMapCoord GetNeighbourCoord(int x, int y, int dir) const;
  bool HasNeighbour(int x, int y, int dir) const;
  sHex* GetNeighbour(int x, int y, int dir);
  const sHex* GetNeighbour(int x, int y, int dir) const;
  // 1 + the direction of hex 2 from hex 1, or 0 when they are not adjacent.
  int GetNeighbourDirection(int x1, int y1, int x2, int y2) const;

  // Decorations: created once, then reset.
  void ResetEyeCandies();
  const std::vector<sEyeCandy>& EyeCandies() const { return decorations_; }
  // One record per cell; the scenario's eye-candy table fills them.
  std::vector<sEyeCandy>& EyeCandies() { return decorations_; }

  // --- Post-load passes (map_passes.cpp) ---
  void AddRiverMouths();
  // The zeroed front-mark grid; throws std::runtime_error on an empty map.
  void CreateFrontMarks();
  void AssignCoastalSeaZones();
  // Border bits of every cell, with the world's sea graph.
  void RefreshBorderFlags(const cWorld& world);
  void RefreshBorderFlags(const SeaNodeLookup& seaNodeKind);
  const std::vector<std::uint8_t>& FrontMarks() const { return front_marks_; }
  // The cells that carry mark bits, each once, in the order they were first
  // marked (kept by SetHexMark, ClearHexMark and ClearMapMarks, which also
  // keep sHex::markListed). Its storage is kept across clearings.
  std::vector<sHex*>& MarkedHexes() { return marked_hexes_; }

  // --- Marks, weather, searches and front nodes (map_searches.cpp) ---
  // Clears the bits on every marked cell, drops cells left without marks
  // from the list and, with clearAll, clears bit 24 on every cell.
  void ClearHexMarks(std::uint32_t bits, bool clearAll);
  // Marks every water cell of the sea zone with the bits (value -1).
  void MarkSeaZoneHexes(int seaZone, std::uint32_t bits);
  // The month's weather (0 = January) on every land cell that has weather:
  // snow by its winter chance, else mud by its mud chance, else good.
  void RollWeather(int month);
  // Breadth-first from (x, y) over land: the first empty coastal land hex of
  // the sea zone whose controller is the country, an ally or an enemy (only
  // the country itself with ownOnly, which examines the start hex alone),
  // within maxDistance. Each hex is examined once.
  bool FindLandingHex(const cWorld& world, int countryId, int x, int y, int seaZone, int maxDistance, int& outX,
                      int& outY, bool ownOnly) const;
  // The same walk: the hex of the weakest enemy unit (lowest effective
  // combat strength, the first found among equals) on land not neutral to
  // the country. The sea zone is not used.
  bool FindWeakestCoastalEnemy(const cWorld& world, int countryId, int x, int y, int seaZone, int maxDistance,
                               int& outX, int& outY) const;
  // The lattice of front nodes for distance d (at least 3), computed afresh
  // (the list emptied first) when d differs from the last distance. A
  // smaller d throws std::runtime_error.
  const std::list<sMapCoord>& SetFrontNodeDistance(int distance);
  // The hex d steps from (x, y) in direction dir (0..5), d the front-node
  // distance; may lie off the map. Throws std::runtime_error before a
  // distance is set or for another direction.
  sMapCoord GetFrontNodeCoord(int x, int y, int dir) const;
  // Plain access to the front marks; cells off the map read 0 and are not
  // written.
  void SetFrontMark(int x, int y, std::uint8_t value);
  std::uint8_t GetFrontMark(int x, int y) const;
  void ClearFrontMarks();

  // --- View (map_view.cpp) ---
  void ScrollView(float dx, float dy, float speed);
  void ScrollViewTo(sMapPointF point, bool enterMovingPhase);
  void CenterAtHex(int x, int y, int unused = 0);
  void CenterAtMinimapCursor(int mouseX, int mouseY);
  void StopScrolling();
  void Zoom(int step, int mouseX, int mouseY);
  // Sets the zoom level (in whole hundredths, as the steps keep it) whose
  // scale comes nearest the given one and makes that scale the target: the
  // view eases there, and the wheel steps on from that level.
  void ZoomToScale(float scale);
  void UpdateView(float elapsed);
  // The view's cell counts, bounds and outline for the zoom in use; the
  // view otherwise works them out only when the zoom changes.
  void ApplyCurrentZoom();
  // Scale at which the whole map fits the screen of the settings.
  void ComputeFitScale();
  // Fits the map part of a minimap picture of that size into the minimap
  // panel (layout entry 315) and hands the result to the minimap panel.
  void FitMinimapPicture(int pictureWidth, int pictureHeight);
  // Columns [first, last) and rows [first, last) the drawing visits, already
  // limited to the grid.
  void VisibleRange(int& firstColumn, int& endColumn, int& firstRow, int& endRow) const;
  // Draws the visible cells by the per-cell drawing of "MapDisplay/Mode"
  // with the given sprite batch, from the kept pictures of each row
  // (map_drawing/map_render.cpp).
  void Render(plat::SpriteBatch& sprite) const;
  // The pictures the drawing keeps of this map; none until it is drawn.
  std::shared_ptr<cMapKeptPictures>& KeptPictures() const { return kept_pictures_; }

  // --- Minimap (map_drawing/map_minimap.cpp) ---
  // Loads the minimap picture, creates its empty ownership layer of the same
  // size and fits the picture into the minimap panel. A picture that cannot
  // be loaded changes nothing else.
  void LoadMinimapImage(const std::wstring& path);
  // The outline of the visible part of the map, in opaque red lines.
  void DrawMinimapViewRect() const;
  // Repaints the ownership layer when "MinimapDisplay/OwnershipMode" is on:
  // water transparent, land half-transparent in its controller's (mode 1)
  // or owner's (mode 2) first colour (of the world's countries).
  void UpdateMinimapOwnershipLayer(const cWorld& world);
  void UpdateMinimapOwnershipLayer(const CountryColourLookup& firstColour);
  cTexture& MinimapTexture() { return minimap_texture_; }
  cTexture& MinimapOwnershipTexture() { return ownership_texture_; }

  // View state, read by the screens and the tests.
  int minViewX = 0, maxViewX = 0, minViewY = 0, maxViewY = 0;
  float fitScale = 0.0f;
  int centreColumn = 0, centreRow = 0, offsetX = 0, offsetY = 0;
  int visibleColumns = 0, visibleRows = 0;
  int baseVisibleColumns = 0, baseVisibleRows = 0;
  sMatrix4 viewTransform;
  float minimapScale = 1.0f;
  sMatrix4 minimapTransform;
  sMinimapRect minimapRect;
  sMapPointF minimapViewOutline[5];
  float viewY = 0, targetY = 0, pendingZoomY = 0;
  float viewX = 0, targetX = 0, pendingZoomX = 0;
  float velocityX = 0, velocityY = 0;
  int minimapOriginX = 0, minimapOriginY = 0;
  int minimapImageWidth = 0, minimapImageHeight = 0;

 private:
  void Clear();
  void RecomputeMinimapOutline();
  void ApplyScaleChange();
  void ReadPassesAndFit();
  // After decoding: false (logged) for an unknown terrain code; weather
  // codes and monthly chances out of range are brought into range with a
  // WARNING naming the file.
  bool CheckHexValues(const std::wstring& pathForLog);

  int width_ = 0;
  int height_ = 0;
  std::vector<sHex> hexes_;
  std::vector<sEyeCandy> decorations_;
  std::vector<sHex*> marked_hexes_;
  std::vector<std::uint8_t> front_marks_;
  int front_node_distance_ = -1;
  std::list<sMapCoord> front_nodes_;
  sHex empty_cell_;  // what GetHex gives on a map without cells
  cTexture minimap_texture_;    // the minimap picture
  cTexture ownership_texture_;  // its ownership layer
  mutable std::shared_ptr<cMapKeptPictures> kept_pictures_;
};

// Checks the country ids of every land cell against the number of countries
// (1..N); logs each bad one and then shows the message box "Invalid ctr ids
// on hexes" once. Returns true when anything was logged.
bool ValidateHexOwnership(const cMap& map, int countryCount);

// Whether both hexes lie in the same group of connected cities (through the
// cities nearest to them over land); false when either has no nearest city.
bool HexesInSameTopographyGroup(const cWorld& world, int x1, int y1, int x2, int y2);

// Process-wide view values of the map screen. The current scale is
// g_Settings.MapZoom (the fit scale once a map is loaded, then the zoom the
// game opens at; the player's zooming sets "MapDisplay/Zoom", see
// SetZoomSetting).
extern float g_MapTargetScale;
extern float g_MapZoomLevel;  // 0 closest .. 1 farthest
struct sMapDrag {
  bool dragging = false;
  bool released = false;
  int dx = 0, dy = 0;  // screen pixels
};
extern sMapDrag g_MapDrag;
// Called by the view when a short drag release counts as a click on the
// empty map in phases 7 and 8 (clears the selection; set by the map screen).
extern std::function<void()> g_OnMapEmptyClick;
// Receives the fitted minimap rectangle (the minimap panel; set by it).
extern std::function<void(const sMinimapRect&)> g_OnMinimapRect;
