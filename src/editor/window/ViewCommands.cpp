// The 3-D View panel: the document's selection is marked in the view, and a
// click in the view selects on the map and in the tree; a double-click opens
// the Edit Object dialog.

#include "editor/window/MainEditor.h"

#include "editor/window/ViewDock.h"

void MainEditor::connectViewDock()
{
    connect(m_viewDock, &ViewDock::itemClicked, this, [this](const ItemRef &item) {
        m_document.setSelection(item.kind == KindNone ? ItemRefs{} : ItemRefs{item});
    });
    connect(m_viewDock, &ViewDock::itemDoubleClicked, this, [this](const ItemRef &item) {
        m_document.setSelection({item});
        objTree_DblClick();
    });
    connect(&m_document, &WorldDocument::selectionChanged, this,
            [this] { m_viewDock->setMarked(m_document.selection()); });
}
