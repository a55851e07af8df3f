// The main window's map: drawing, scale and zoom, and the selection marker
// that follows the tree.

#include "app/MainEditor.h"

#include "mapview/MapCanvas.h"
#include "mapview/MapOverlay.h"
#include "mapview/MapScale.h"
#include "palette/ExistingObjects.h"
#include "palette/ObjectTree.h"

#include <QAction>

void MainEditor::Render2D(bool RefreshTree, int SelKind, int SelIndex)
{
    Picture1->redraw();
    if (RefreshTree && ExistingObjects::rebuild(*objTree, world, Shapes, SelKind, SelIndex))
        objTree_NodeClick();
}

void MainEditor::ScaleLand()
{
    MapScale::scaleLand(*Picture2, *Picture1, *HScroll1, *VScroll1, world.Zoom, m_relativeScroll);
    shpSelector->hide();
    Render2D(false, 0, -1);
}

void MainEditor::objTree_NodeClick()
{
    const std::optional<ExistingObjects::Marker> marker =
        ExistingObjects::markerFor(*objTree, objTree->selectedNode(), world);
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

void MainEditor::setZoom(int32_t zoom)
{
    world.Zoom = zoom;
    checkZoomMenu();
    hideMarkers();
    ScaleLand();
}

void MainEditor::checkZoomMenu()
{
    // A zoom read from a file that is none of the three checks nothing.
    mnu100Item->setChecked(world.Zoom == 1);
    mnu200Item->setChecked(world.Zoom == 2);
    mnu400Item->setChecked(world.Zoom == 4);
}
