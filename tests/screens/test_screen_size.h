#pragma once
// The screen size the map-screen tests lay their screens out for.

constexpr int kScreenW = 1024, kScreenH = 768;
