// The sea nodes on the map: the marker and the ships a node shows on its
// hexes, and the hover box with the node's ship counts.
#pragma once

#include "app/hoverable.h"

struct sWezelGrafuMorz;
namespace plat {
class Font;
class SpriteBatch;
}

// Draws what belongs to the node on hex (hexX, hexY) at the screen position:
// the shown ship of that hex and the node's marker.
void DrawSeaNodeOnHex(plat::SpriteBatch& sprite, const sWezelGrafuMorz& node, float x, float y, float depth,
                      int hexX, int hexY, bool hideMarker, bool skip);

// The hover box of a sea node, which the hint display shows by the mouse:
// the own, allied and spotted enemy ships by type, the node's name and a
// port's size, on the box of layout entry 15 of the GUI sheet.
class cSeaNodeHoverBox final : public cHoverable {
 public:
  // The node the box shows (null: none, and nothing is drawn).
  void SetNode(const sWezelGrafuMorz* node) { node_ = node; }
  const sWezelGrafuMorz* Node() const { return node_; }

  // The size of layout entry 15.
  void GetTooltipSize(int& width, int& height) override;
  void DrawTooltip(float x, float y) override;
  // The font of the box's texts (null without a device).
  static plat::Font* Font();

 private:
  const sWezelGrafuMorz* node_ = nullptr;
};
