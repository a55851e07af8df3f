#include "editor/palette/SurfacePanel.h"

#include "editor/palette/ColorSwatch.h"
#include "editor/palette/PanelParts.h"

#include <QHBoxLayout>

namespace {
constexpr int32_t LightGrey = 0xC0C0C0;
}

SurfacePanel::SurfacePanel(const Platform &platform, QWidget *parent) : QWidget(parent)
{
    picCubesColor = new ColorSwatch(platform.colorDialog, LightGrey, tr("Surface Color"));
    picCubesColor->setToolTip(tr("Click here to set the surface color."));
    lblCubesColor = captionFor(tr("Surface Color"), picCubesColor);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(lblCubesColor);
    row->addWidget(picCubesColor);
    row->addStretch();
    nameControls({{lblCubesColor, "lblCubesColor"}, {picCubesColor, "picCubesColor"}});
}
