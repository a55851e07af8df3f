// The main window's map: drawing, scale and zoom, the selection marker that
// follows the tree, and the redraw that follows every change of the m_document.

#include "editor/window/MainEditor.h"

#include "editor/map/MapCanvas.h"
#include "editor/map/MapOverlay.h"
#include "editor/map/MapScale.h"
#include "editor/palette/DragHandle.h"
#include "editor/palette/ExistingObjects.h"
#include "editor/palette/ObjectTree.h"

#include <QAction>

void MainEditor::Render2D(bool RefreshTree, int SelKind, int SelIndex)
{
    Picture1->redraw();
    if (RefreshTree && ExistingObjects::rebuild(*objTree, world(), Shapes, SelKind, SelIndex))
        objTree_NodeClick();
}

void MainEditor::ScaleLand()
{
    MapScale::scaleLand(*Picture2, *Picture1, *HScroll1, *VScroll1, world().Zoom, m_relativeScroll);
    shpSelector->hide();
    Render2D(false, 0, -1);
}

void MainEditor::objTree_NodeClick()
{
    markSelectionInView();
    const std::optional<ExistingObjects::Marker> marker =
        ExistingObjects::markerFor(*objTree, objTree->selectedNode(), world());
    if (!marker) {
        hideMarkers();
        return;
    }
    shpSelector->setMapRect(marker->rect);
    shpSelector->show();
    if (marker->withHandle) {
        Image1->setMapRect(marker->rect);
        Image1->show();
        Image1->raise();
    } else {
        Image1->hide();
    }
}

void MainEditor::hideMarkers()
{
    shpSelector->hide();
    Image1->hide();
}

void MainEditor::clearTreeSelection()
{
    if (objTree->selectedNode()) {
        objTree->unselectNode();
        hideMarkers();
        markSelectionInView();
    }
}

void MainEditor::setZoom(int32_t zoom)
{
    m_document.setZoom(zoom);
    checkZoomMenu();
    hideMarkers();
    ScaleLand();
}

void MainEditor::checkZoomMenu()
{
    // A zoom read from a file that is none of the three checks nothing.
    mnu100Item->setChecked(world().Zoom == 1);
    mnu200Item->setChecked(world().Zoom == 2);
    mnu400Item->setChecked(world().Zoom == 4);
}

void MainEditor::followDocument()
{
    // The affected item is selected after a command, an undo or a redo, when
    // it still exists.
    connect(&m_document, &WorldDocument::itemAdded, this, &MainEditor::selectAfterChange);
    connect(&m_document, &WorldDocument::itemChanged, this, &MainEditor::selectAfterChange);
    connect(&m_document, &WorldDocument::itemRemoved, this, [this] {
        Render2D(true, 0, -1);
        hideMarkers(); // they would mark what is gone
    });
    connect(&m_document, &WorldDocument::startChanged, this, [this] {
        Render2D(true, 0, -1);
        selectStart();
    });
    connect(&m_document, &WorldDocument::worldReplaced, this, &MainEditor::resetView);
}

void MainEditor::selectAfterChange(int kind, int index)
{
    Render2D(true, kind, index);
}

void MainEditor::selectStart()
{
    objTree->selectNode(ExistingObjects::StartNode);
    objTree_NodeClick();
}

void MainEditor::resetView()
{
    hideMarkers();
    ScaleLand();
    checkZoomMenu();
    Render2D(true, 0, -1);
}
