#pragma once
// Where the main window's controls go for a given client area. The palette
// (tab strip, panels, the "Existing Objects" frame) keeps its width at the
// right edge; the map's frame with its scroll bars takes the rest, and the
// tree grows and shrinks with the window's height. Pixels throughout.

#include <QRect>
#include <QSize>

#include <array>

namespace MainLayout {

constexpr int PaletteWidth = 241;     // the tab strip and the frame, unless the tabs need more
constexpr int PaletteRightMargin = 8; // from the client area's right edge
constexpr int PanelInset = 8;         // panels inside the tab strip, tree inside the frame
constexpr int ViewportGap = 23;       // from the map's frame to the palette, scroll bar included
constexpr int ScrollBarExtent = 17;
constexpr int PaletteTop = 4;
constexpr int PanelTop = 32; // below the tabs
constexpr int PanelGap = 8;  // between a panel and the orientation panel below it
constexpr int FrameGap = 7; // between the tab strip and the frame
constexpr int FrameBottomMargin = 8;
constexpr int TreeButtonGap = 4;
constexpr int MinimumMapSide = 160; // the smallest map frame the window allows

// Sizes that depend on the style and the font.
struct Metrics {
    int tabBarWidth = 0; // all four tabs side by side
    int tabBarHeight = 25;
    int frameTitleHeight = 18; // the frame's caption, above the tree
    int buttonHeight = 25;
    // The panels' contents; a larger font makes the palette taller.
    int panelHeight = 153;
    int orientationHeight = 81;
};

struct Geometry {
    QRect Picture2, VScroll1, HScroll1;
    QRect TabStrip1;
    std::array<QRect, 4> picObjects;
    QRect picOrientation;
    QRect frmCurrent;
    QRect objTree, cmdRemoveObject; // inside frmCurrent
};

// The palette's width: as designed, or wider when the four tabs need it.
int paletteWidth(const Metrics &metrics);

// The layout of a client area of any size; widths and heights never go below 0.
Geometry compute(QSize client, const Metrics &metrics);

// The smallest client area in which nothing overlaps.
QSize minimumClientSize(const Metrics &metrics);

} // namespace MainLayout
