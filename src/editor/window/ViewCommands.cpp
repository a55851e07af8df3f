// The 3-D View panel: what is selected in the tree is marked in the view,
// and a click in the view selects on the map and in the tree; a double-click
// opens the Edit Object dialog.

#include "editor/window/MainEditor.h"

#include "editor/palette/ExistingObjects.h"
#include "editor/palette/ObjectTree.h"
#include "editor/window/ViewDock.h"

void MainEditor::connectViewDock()
{
    connect(m_viewDock, &ViewDock::itemClicked, this, [this](const ItemRef &item) {
        if (item.kind == KindNone)
            clearTreeSelection();
        else
            Render2D(true, item.kind, item.index);
    });
    connect(m_viewDock, &ViewDock::itemDoubleClicked, this, [this](const ItemRef &item) {
        Render2D(true, item.kind, item.index);
        objTree_DblClick();
    });
}

void MainEditor::markSelectionInView()
{
    ItemRefs marked;
    if (const std::optional<MapItem> item = ExistingObjects::itemOf(*objTree, objTree->selectedNode());
        item && item->kind != KindNone)
        marked.push_back({item->kind, item->index});
    m_viewDock->setMarked(marked);
}
