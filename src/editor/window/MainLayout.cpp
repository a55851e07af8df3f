#include "editor/window/MainLayout.h"

#include "editor/map/MapCanvas.h"
#include "editor/palette/ObjectTree.h"
#include "editor/window/MainEditor.h"
#include "editor/window/Palette.h"

#include <QGroupBox>
#include <QPushButton>
#include <QScrollBar>

#include <algorithm>

namespace MainLayout {

namespace {

QRect box(int left, int top, int width, int height)
{
    return QRect(left, top, std::max(0, width), std::max(0, height));
}

// The panels' design widths; all start one inset inside the tab strip.
constexpr int PanelWidths[] = {225, 217, 217, 217};
constexpr int OrientationWidth = 225;

// Taller tabs than designed push the panels, and the strip's bottom, down.
int tabExcess(const Metrics &m) { return std::max(0, m.tabBarHeight + 6 - PanelTop); }

// The orientation panel's top and the strip's height, below the tabs' excess.
int orientationTop(const Metrics &m) { return PanelTop + m.panelHeight + PanelGap; }
int tabStripHeight(const Metrics &m)
{
    return orientationTop(m) + m.orientationHeight + PanelInset;
}

int frameHeightWithoutTree(const Metrics &m)
{
    return m.frameTitleHeight + TreeButtonGap + m.buttonHeight + PanelInset;
}

} // namespace

int paletteWidth(const Metrics &m) { return std::max(PaletteWidth, m.tabBarWidth + 4); }

Geometry compute(QSize client, const Metrics &m)
{
    const int w = client.width();
    const int h = client.height();
    const int excess = tabExcess(m);
    const int palette = paletteWidth(m);
    const int wider = palette - PaletteWidth; // panels widen with the palette
    Geometry g;

    g.TabStrip1 =
        box(w - palette - PaletteRightMargin, PaletteTop, palette, tabStripHeight(m) + excess);
    const int panelLeft = g.TabStrip1.left() + PanelInset;
    for (size_t i = 0; i < g.picObjects.size(); ++i) {
        g.picObjects[i] = box(panelLeft, g.TabStrip1.top() + PanelTop + excess,
                              PanelWidths[i] + wider, m.panelHeight);
    }
    g.picOrientation = box(panelLeft, g.TabStrip1.top() + orientationTop(m) + excess,
                           OrientationWidth + wider, m.orientationHeight);

    g.Picture2 = box(0, 0, g.TabStrip1.left() - ViewportGap, h - ScrollBarExtent);
    g.VScroll1 = box(g.Picture2.left() + g.Picture2.width(), g.Picture2.top(), ScrollBarExtent,
                     g.Picture2.height());
    g.HScroll1 = box(g.Picture2.left(), g.Picture2.top() + g.Picture2.height(), g.Picture2.width(),
                     ScrollBarExtent);

    const int frameTop = g.TabStrip1.top() + g.TabStrip1.height() + FrameGap;
    g.frmCurrent = box(g.TabStrip1.left(), frameTop, palette, h - frameTop - FrameBottomMargin);
    g.objTree = box(PanelInset, m.frameTitleHeight, palette - 2 * PanelInset,
                    g.frmCurrent.height() - frameHeightWithoutTree(m));
    g.cmdRemoveObject = box(PanelInset, g.objTree.top() + g.objTree.height() + TreeButtonGap,
                            palette - 2 * PanelInset, m.buttonHeight);
    return g;
}

QSize minimumClientSize(const Metrics &m)
{
    constexpr int minimumTree = 60;
    const int width = MinimumMapSide + ViewportGap + paletteWidth(m) + PaletteRightMargin;
    const int height = PaletteTop + tabStripHeight(m) + tabExcess(m) + FrameGap +
                       frameHeightWithoutTree(m) + minimumTree + FrameBottomMargin;
    return QSize(width, std::max(height, MinimumMapSide + ScrollBarExtent));
}

} // namespace MainLayout

void MainEditor::layoutControls()
{
    MainLayout::Metrics metrics;
    m_palette->measure(metrics);
    metrics.frameTitleHeight = frmCurrent->fontMetrics().height() + 4;
    metrics.buttonHeight = cmdRemoveObject->sizeHint().height();
    centralWidget()->setMinimumSize(MainLayout::minimumClientSize(metrics));

    const MainLayout::Geometry g = MainLayout::compute(centralWidget()->size(), metrics);
    m_palette->place(g);
    Picture2->setGeometry(g.Picture2);
    VScroll1->setGeometry(g.VScroll1);
    HScroll1->setGeometry(g.HScroll1);
    frmCurrent->setGeometry(g.frmCurrent);
    objTree->setGeometry(g.objTree);
    cmdRemoveObject->setGeometry(g.cmdRemoveObject);

    // A minimised or not yet shown window has no room for a map: keep the last one.
    if (!g.Picture2.isEmpty())
        ScaleLand();
}
