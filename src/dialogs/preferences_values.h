// The values the preferences dialog offers and how they convert between
// what "Settings.ini" stores and what the dialog shows: the border colours,
// the volume and delay steps, the value labels and the list of screen sizes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/settings.h"
#include "platform/framework.h"

// One border colour of the colour box: its 0xAARRGGBB value and its item
// text.
struct sBorderColour {
  std::uint32_t colour = 0;
  std::wstring name;
};

constexpr int kBorderColourCount = 148;

// "Default" first, then the CSS colour keywords; the names carry the blanks
// the box shows after them.
const std::vector<sBorderColour>& BorderColours();
// The entry the box selects for a colour: the last one of that value
// ("Cyan", not "Aqua"), or 0 ("Default") when none has it.
int BorderColourIndex(std::uint32_t colour);

// One screen size the preferences offer.
struct sResolution {
  int index = 0;  // position in the sorted list
  int width = 0;
  int height = 0;
  int reserved = 0;
};

// The screen sizes offered: each size of modes once, kept only when
// hasLayout says its layout file exists, sorted by width and then height
// and numbered in that order.
std::vector<sResolution> BuildResolutionList(const std::vector<plat::DisplayMode>& modes,
                                             const std::function<bool(int width, int height)>& hasLayout);
// Whether "data\GUI_<width>x<height>.csv" exists.
bool LayoutFileExists(int width, int height);
// The sizes of the layout files in data, in no particular order.
std::vector<plat::DisplayMode> LayoutSizes();

// Volume: a slider of 0..20 steps, held as a fraction 0..1, stored in per
// cent.
constexpr int kVolumeSteps = 20;
float VolumeFromSlider(int position);
int VolumeToSlider(float volume);
int VolumeToPercent(float volume);

// Delays: a slider of whole seconds, held and stored in milliseconds.
constexpr int kDelayMsPerStep = 1000;
constexpr int kDelaySteps = kDelayMaximumMs / kDelayMsPerStep;
int DelayToSlider(float milliseconds);
// The lowest position of a delay row's slider: -1 ("until a click") for the
// two combat results, 0 for the others.
int DelaySliderMinimum(int row);
// The value label of a delay row.
std::wstring DelayLabel(int row, float milliseconds);
// The value label of the visibility range.
std::wstring VisibilityLabel(int range);

// The frame-rate limits of the limit box, in its order.
constexpr int kFrameRateLimits[] = {0, 25, 30, 60};
int FrameIntervalForLimit(int limit);
