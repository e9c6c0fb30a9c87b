// Toolbar descriptions and their image strips.  Plain data: the window
// library turns them into buttons and pictures.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

struct ResToolBar {
    int id;
    int buttonWidth;  // pixels of one image in the strip
    int buttonHeight;
    // Command ids in display order; 0 is a separator.  Image i of the strip
    // belongs to the i-th non-separator entry.
    std::span<const int> commands;
};

// The toolbar description `id`, or null when the module has none.
const ResToolBar* FindResToolBar(int id);

// A picture as rows of 0xAARRGGBB pixels, top row first.
struct ResBitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    bool IsEmpty() const { return pixels.empty(); }
};

// The bitmap resource `id`; empty when the module has none.
ResBitmap LoadResBitmap(int id);
