// The main window's map: drawing, scale and zoom, the tree and the selection
// marker that follow the document's selection, and the redraw that follows
// every change of the document, once per step.

#include "editor/window/MainEditor.h"

#include "editor/map/MapCanvas.h"
#include "editor/map/MapLayers.h"
#include "editor/map/MapScale.h"
#include "editor/palette/ExistingObjects.h"
#include "editor/palette/ObjectTree.h"

#include <QAction>

void MainEditor::Render2D(bool RefreshTree, int SelKind, int SelIndex)
{
    Picture1->redraw();
    if (!RefreshTree)
        return;
    if (SelKind != KindNone) { // the tree chooses the item, the document follows
        ExistingObjects::rebuild(*objTree, world(), Shapes, SelKind, SelIndex);
        objTree_NodeClick();
    } else {
        ExistingObjects::rebuild(*objTree, world(), Shapes, m_document.selection());
        m_layers->markSelection();
    }
}

void MainEditor::ScaleLand()
{
    MapScale::scaleLand(*Picture2, *Picture1, *HScroll1, *VScroll1, world().Zoom, m_relativeScroll);
    m_layers->markSelection();
    Render2D(false, 0, -1);
}

void MainEditor::objTree_NodeClick()
{
    m_document.setSelection(ExistingObjects::itemsOf(*objTree, objTree->selectedNodes()));
    m_layers->markSelection();
}

void MainEditor::showSelection()
{
    const bool any = !m_document.selection().empty();
    for (QAction *action : std::as_const(m_selectionActions))
        action->setEnabled(any);
    if (m_stale)
        return; // the end of the step rebuilds the tree with it
    ExistingObjects::select(*objTree, m_document.selection());
    m_layers->markSelection();
}

void MainEditor::hideMarkers() { m_layers->hideMarks(); }

std::optional<MapItem> MainEditor::selectedItem() const
{
    const ItemRefs &selection = m_document.selection();
    return selection.size() == 1 ? std::optional(selection.front()) : std::nullopt;
}

void MainEditor::clearTreeSelection()
{
    objTree->unselectNode(); // a category, which the document does not hold
    m_document.setSelection({});
}

void MainEditor::setZoom(int32_t zoom)
{
    m_document.setZoom(zoom);
    checkZoomMenu();
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
    // A step may change thousands of items: the map and the tree are drawn
    // again once, when it ends (after the document has settled its selection).
    const auto stale = [this] { m_stale = true; };
    connect(&m_document, &WorldDocument::itemAdded, this, stale);
    connect(&m_document, &WorldDocument::itemChanged, this, stale);
    connect(&m_document, &WorldDocument::itemRemoved, this, stale);
    connect(&m_document, &WorldDocument::startChanged, this, stale);
    connect(&m_document.undoStack(), &QUndoStack::indexChanged, this, [this] {
        if (!m_stale)
            return;
        m_stale = false;
        Render2D(true, 0, -1);
    });
    connect(&m_document, &WorldDocument::selectionChanged, this, &MainEditor::showSelection);
    connect(&m_document, &WorldDocument::worldReplaced, this, &MainEditor::resetView);
}

void MainEditor::resetView()
{
    hideMarkers();
    ScaleLand();
    checkZoomMenu();
    Render2D(true, 0, -1);
}
