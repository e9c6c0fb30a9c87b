// The palette's toolbar (21301) and its four image strips (21112-21115).
//
// The pictures are our own 16 x 15 pixel drawings, kept here as text: one
// character per pixel, '.' transparent, every other letter a colour of the
// strip's palette.  The four strips share the drawings and differ only in
// their palettes: black outlines for the light look, light outlines for
// the dark one (drawn on RGB(40,40,40)), and one grey for disabled buttons.
#include "res/toolbar.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "res/resource.h"

namespace {

constexpr int kImageWidth = 16;
constexpr int kImageHeight = 15;

// Display order of the palette's toolbar; 0 is a separator.
// clang-format off
constexpr int kClickDataBarLayout[] = {
    ID_BTN_BLINK, ID_BTN_MARK, ID_BTN_DIC, 0,
    ID_BTN_LOOK, ID_BTN_TRACK, ID_BTN_TEL, 0,
    ID_BTN_FLIGHT_TARGET, 0,
    ID_BTN_COMMENT, ID_BTN_IMAGE_THUMB, ID_BTN_ALTGRP, ID_BTN_COPY, 0,
    ID_BTN_EDT, 0,
    ID_HELP,
};
// clang-format on

constexpr ResToolBar kToolBars[] = {
    {IDR_CLICKDATA_BAR, kImageWidth, kImageHeight, kClickDataBarLayout},
};

// One drawing per button of kClickDataBarLayout, in its order: 15 rows of
// 16 pixels each.
constexpr int kImageCount = 13;
constexpr const char* kArt[kImageCount] = {
    // blink
    "................"
    ".......y........"
    ".......y........"
    "..y...yyy...y..."
    "...y..yyy..y...."
    "......yyy......."
    "....yyyyyyy....."
    ".yyyyyywyyyyyyy."
    "....yyyyyyy....."
    "......yyy......."
    "...y..yyy..y...."
    "..y...yyy...y..."
    ".......y........"
    ".......y........"
    "................",
    // mark
    "................"
    ".....rrrrrr....."
    "...rr..rr..rr..."
    "..r....rr....r.."
    ".r.....rr.....r."
    ".r.....rr.....r."
    "r......rr......r"
    "r.rrrrrrrrrrrr.r"
    "r......rr......r"
    ".r.....rr.....r."
    ".r.....rr.....r."
    "..r....rr....r.."
    "...rr..rr..rr..."
    ".....rrrrrr....."
    "................",
    // dictionary
    "................"
    "..kkkkkkkkkkk..."
    ".kbbbbbbbbbbbk.."
    ".kbwwwwwwwwbbk.."
    ".kbbbbbbbbbbbk.."
    ".kbbwwwwwwbbbk.."
    ".kbbbbbbbbbbbk.."
    ".kbbbbbbbbbbbk.."
    ".kbbbbbbbbbbbk.."
    ".kbbbbbbbbbbbk.."
    ".kbbbbbbbbbbbk.."
    ".kkkkkkkkkkkkk.."
    ".kwwwwwwwwwwwwk."
    "..kkkkkkkkkkkkk."
    "................",
    // centre
    "................"
    ".kkkk......kkkk."
    ".k............k."
    ".k............k."
    ".k............k."
    "................"
    ".......cc......."
    "......cccc......"
    ".......cc......."
    "................"
    ".k............k."
    ".k............k."
    ".k............k."
    ".kkkk......kkkk."
    "................",
    // track
    ".......cc......."
    ".......cc......."
    ".....kkkkkk....."
    "....k......k...."
    "...k........k..."
    "..k..........k.."
    "cck....cc....kcc"
    "cck...cccc...kcc"
    "cck....cc....kcc"
    "..k..........k.."
    "...k........k..."
    "....k......k...."
    ".....kkkkkk....."
    ".......cc......."
    ".......cc.......",
    // telescope
    "................"
    "............kk.."
    "..........kkwwk."
    "........kkwwwk.."
    "......kkwwwwk..."
    "....kkwwwwkk...."
    "...kwwwwkk......"
    "..kwwwkk........"
    "...kkk.k........"
    ".......k........"
    "......k.k......."
    ".....k...k......"
    "....k.....k....."
    "...k.......k...."
    "................",
    // flight
    "................"
    "............kkk."
    "..........kkwwk."
    ".........kwwwk.."
    "........kwwbk..."
    "...kk..kwwwk...."
    "...kwkkwwwk....."
    "....kwwwwk......"
    ".....kwwk......."
    "....kwkwk......."
    "...ookk.kk......"
    "..ooo..........."
    ".oyo............"
    ".oo............."
    "................",
    // comment
    "................"
    "..kkkkkkkkkkkk.."
    ".kwwwwwwwwwwwwk."
    ".kwssssssssswwk."
    ".kwwwwwwwwwwwwk."
    ".kwssssssswwwwk."
    ".kwwwwwwwwwwwwk."
    ".kwsssssssssswk."
    ".kwwwwwwwwwwwwk."
    "..kkkkwwkkkkkk.."
    "......kwk......."
    ".....kwk........"
    "....kk.........."
    "................"
    "................",
    // thumbnails
    "................"
    "kkkkkkkkkkkkkkkk"
    "kbbbbbbbbbbbbbbk"
    "kbbbbbbbbbbyybbk"
    "kbbbbbbbbbbyybbk"
    "kbbbbbbbbbbbbbbk"
    "kbbbbgbbbbbbbbbk"
    "kbbbgggbbbbbbbbk"
    "kbbgggggbbbgbbbk"
    "kbgggggggbgggbbk"
    "kgggggggggggggbk"
    "kggggggggggggggk"
    "kkkkkkkkkkkkkkkk"
    "................"
    "................",
    // altgraph
    "................"
    ".k.............."
    ".k.....yyy......"
    ".k....y...y....."
    ".k...y.....y...."
    ".k..y.......y..."
    ".k.y.........y.."
    ".cccccccccccccc."
    ".ky...........y."
    ".k.............y"
    ".k.............."
    ".k.............."
    ".kkkkkkkkkkkkkk."
    "................"
    "................",
    // copy
    "................"
    ".kkkkkkkk......."
    ".kwwwwwwk......."
    ".kwsssswk......."
    ".kwwwwwwk......."
    ".kwsskkkkkkkk..."
    ".kwwwkwwwwwwk..."
    ".kwsskwsssswk..."
    ".kwwwkwwwwwwk..."
    ".kkkkkwsssswk..."
    ".....kwwwwwwk..."
    ".....kwsssswk..."
    ".....kwwwwwwk..."
    ".....kkkkkkkk..."
    "................",
    // settings
    "................"
    "................"
    "....kkk........."
    ".ssskwkssssssss."
    "....kkk........."
    "................"
    ".........kkk...."
    ".sssssssskwksss."
    ".........kkk...."
    "................"
    "......kkk......."
    ".ssssskwkssssss."
    "......kkk......."
    "................"
    "................",
    // help
    "................"
    "................"
    ".....bbbbb......"
    "....bb...bb....."
    "....bb...bb....."
    ".........bb....."
    "........bb......"
    ".......bb......."
    "......bb........"
    "......bb........"
    "................"
    "......bb........"
    "......bb........"
    "................"
    "................",
};

constexpr bool IsWholeDrawing(const char* art) {
    int length = 0;
    while (art[length]) ++length;
    return length == kImageWidth * kImageHeight;
}
static_assert(std::all_of(std::begin(kArt), std::end(kArt), IsWholeDrawing),
              "every drawing has 15 rows of 16 pixels");
static_assert(std::count_if(std::begin(kClickDataBarLayout), std::end(kClickDataBarLayout),
                            [](int id) { return id != 0; }) == kImageCount,
              "one drawing per button");

// Colours (0xAARRGGBB) of the drawing letters in one strip.
struct Ink {
    char letter;
    std::uint32_t colour;
};
using Palette = std::array<Ink, 9>;

// The light look: the classic toolbar colours on a light face.
constexpr Palette kLight = {{{'k', 0xFF000000},
                             {'w', 0xFFFFFFFF},
                             {'s', 0xFF808080},
                             {'y', 0xFFE0B000},
                             {'r', 0xFFD00000},
                             {'b', 0xFF2050C0},
                             {'c', 0xFF008080},
                             {'g', 0xFF20A020},
                             {'o', 0xFFE07000}}};
// The dark look: light outlines, brighter colours and dark paper, so that
// each picture stands out from RGB(40,40,40).
constexpr Palette kDark = {{{'k', 0xFFC4C4C4},
                            {'w', 0xFF585858},
                            {'s', 0xFFA0A0A0},
                            {'y', 0xFFFFE040},
                            {'r', 0xFFFF5A5A},
                            {'b', 0xFF60A0FF},
                            {'c', 0xFF40E0E0},
                            {'g', 0xFF60D060},
                            {'o', 0xFFFF9030}}};

// Disabled strips: one grey for everything drawn, no paper.
constexpr std::uint32_t kLightDisabled = 0xFFA0A0A0;
constexpr std::uint32_t kDarkDisabled = 0xFF646464;

std::uint32_t Colour(char letter, const Palette* palette, std::uint32_t disabled) {
    if (letter == '.') return 0;
    if (!palette) return letter == 'w' ? 0 : disabled;
    for (const Ink& ink : *palette) {
        if (ink.letter == letter) return ink.colour;
    }
    return 0;
}

// The strip of all drawings side by side, coloured by `palette`, or grey
// (`disabled`) when there is none.
ResBitmap MakeStrip(const Palette* palette, std::uint32_t disabled) {
    ResBitmap strip;
    strip.width = kImageWidth * kImageCount;
    strip.height = kImageHeight;
    strip.pixels.reserve(static_cast<size_t>(strip.width) * strip.height);
    for (int y = 0; y < kImageHeight; ++y) {
        for (int image = 0; image < kImageCount; ++image) {
            const char* row = kArt[image] + y * kImageWidth;
            for (int x = 0; x < kImageWidth; ++x) {
                strip.pixels.push_back(Colour(row[x], palette, disabled));
            }
        }
    }
    return strip;
}

}  // namespace

const ResToolBar* FindResToolBar(int id) {
    for (const ResToolBar& bar : kToolBars) {
        if (bar.id == id) return &bar;
    }
    return nullptr;
}

ResBitmap LoadResBitmap(int id) {
    switch (id) {
        case IDB_CLICKDATA_BAR_LOOK:
            return MakeStrip(&kLight, 0);
        case IDB_CLICKDATA_BAR_LOOK_DISABLED:
            return MakeStrip(nullptr, kLightDisabled);
        case IDB_CLICKDATA_BAR:
            return MakeStrip(&kDark, 0);
        case IDB_CLICKDATA_BAR_DISABLED:
            return MakeStrip(nullptr, kDarkDisabled);
        default:
            return ResBitmap();
    }
}
