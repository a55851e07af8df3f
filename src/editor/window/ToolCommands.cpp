// Which tool the map's mouse works with: the Select button on the tool bar
// above the map, or Escape on the map, leaves placing; choosing anything in
// the palette returns to it. The status bar names the tool.

#include "editor/window/MainEditor.h"

#include "editor/dialogs/Artwork.h"
#include "editor/map/MapCanvas.h"
#include "editor/map/SelectTool.h"
#include "editor/palette/PanelParts.h"
#include "editor/window/Palette.h"
#include "editor/window/PlaceTool.h"

#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <QToolBar>

void MainEditor::createToolBar()
{
    tlbMap = new QToolBar(tr("Map Tools"), this);
    tlbMap->setMovable(false);
    tlbMap->setFloatable(false);
    tlbMap->toggleViewAction()->setVisible(false); // no way to lose it from a context menu
    cmdSelect = tlbMap->addAction(arrowIcon(), tr("Select"));
    cmdSelect->setCheckable(true);
    cmdSelect->setToolTip(tr("Select, move and resize what is on the map (Esc on the map); "
                             "choosing in the palette returns to placing"));
    // A button showing only its icon: the action's text is its name for screen readers.
    tlbMap->widgetForAction(cmdSelect)->setAccessibleName(cmdSelect->text());
    addToolBar(Qt::TopToolBarArea, tlbMap);
    lblTool = new QLabel(Status1);
    Status1->addPermanentWidget(lblTool);
    nameControls({{tlbMap, "tlbMap"}, {cmdSelect, "cmdSelect"}, {lblTool, "lblTool"}});

    connect(cmdSelect, &QAction::toggled, this, &MainEditor::useSelectTool);
    connect(m_placeTool, &PlaceTool::escaped, cmdSelect, [this] { cmdSelect->setChecked(true); });
    connect(m_palette, &Palette::userChose, cmdSelect, [this] { cmdSelect->setChecked(false); });
    useSelectTool(false);
}

void MainEditor::useSelectTool(bool on)
{
    Picture1->setTool(on ? static_cast<MapTool *>(m_selectTool) : m_placeTool);
    lblTool->setText(on ? tr("Select tool") : tr("Place tool"));
}
