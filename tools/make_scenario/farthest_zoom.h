// The whole map of a loaded scenario as the game draws it at its farthest
// zoom on the 1024 x 768 screen (the map's width across the screen), with
// the map skin "Normal" through the software renderer: one picture of the
// whole map rather than a screen's part of it.
#pragma once

#include <filesystem>

class cWorld;

// Draws the world's map into the PNG file. The working folder must hold the
// game's "data" folder (the skin is read from there); SDL must be started
// with a video driver (the dummy one will do). Throws std::runtime_error on
// failure.
void RenderFarthestZoomPicture(cWorld& world, const std::filesystem::path& png);
