// The minimap corner of the map screen: the scenario's minimap picture with
// the red outline of the part of the map in view, the date line with the
// turn counter, and the zoom and drawing-mode icons. A click on the picture
// recentres the map.
#pragma once

#include <string>

#include "screens/panel.h"

class cWorld;

class cMinimapPanel : public cPanel {
 public:
  struct sRect {
    int x = 0, y = 0, width = 0, height = 0;
  };

  cMinimapPanel();

  // Where the picture is drawn; replaces the picture control.
  void SetMinimapRect(int x, int y, int width, int height);
  const sRect& MinimapRect() const { return minimap_rect_; }
  // Whether a screen point lies on the picture (its edges included).
  bool IsOnMinimap(int x, int y) const;

  // The dialog, then the view outline, both only while shown.
  void OnRender(float elapsed) override;
  // A point on the picture centres the map there.
  void OnMouse(bool left, bool right, bool middle, bool side1, bool side2, int wheelDelta, int x,
               int y) override;

  // Centres the map at the picture's point (edges included).
  void CenterMapAt(int x, int y) const;

  // Writes the date and turn line.
  void RefreshDate();
  static std::wstring DateLine(cWorld& world);

 private:
  sRect minimap_rect_;
};

constexpr int kMinimapPanelId = 310;
constexpr int kMinimapDateId = 311;
constexpr int kMinimapPictureId = 315;
constexpr int kMinimapZoomInId = 316;
constexpr int kMinimapZoomOutId = 317;
constexpr int kMinimapBorderModeId = 318;
constexpr int kMinimapOwnershipModeId = 319;
constexpr int kMinimapMapModeId = 320;
