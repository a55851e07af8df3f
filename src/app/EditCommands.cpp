// Changing what is placed: removing the selected item (button, Delete in the
// tree or on the map) and the World Properties dialog.

#include "app/MainEditor.h"

#include "export/frmWorldProperties.h"
#include "palette/ExistingObjects.h"
#include "palette/ObjectTree.h"

#include <QAction>
#include <QPushButton>
#include <QShortcut>

void MainEditor::connectEditCommands()
{
    connect(cmdRemoveObject, &QPushButton::clicked, this, &MainEditor::cmdRemoveObject_Click);
    // Delete removes the selection where the user sees it: in the tree and on the map.
    Picture2->setFocusPolicy(Qt::ClickFocus);
    for (QWidget *where : {static_cast<QWidget *>(objTree), Picture2}) {
        auto *remove = new QShortcut(QKeySequence::Delete, where, nullptr, nullptr,
                                     Qt::WidgetWithChildrenShortcut);
        connect(remove, &QShortcut::activated, this, &MainEditor::cmdRemoveObject_Click);
    }
    connect(mnuProperties, &QAction::triggered, this, &MainEditor::mnuProperties_Click);
}

void MainEditor::cmdRemoveObject_Click()
{
    const int k = objTree->selectedNode();
    const std::optional<int> tag = objTree->tag(k);
    if (k < ExistingObjects::FirstItemNode || !tag) {
        document.setSaved(false); // pressing the button counts as a change, even here
        return;
    }
    const int kind = objTree->parentOf(k);
    document.remove(kind, *tag); // the map and the tree are redrawn, nothing selected

    // The selection moves on to the node that now has the removed node's
    // place in the order of addition, or to the new last node.
    const int node = k > objTree->nodeCount() ? k - 1 : k;
    if (node >= 1) {
        objTree->selectNode(node);
        objTree_NodeClick();
    }
    objTree->expandNode(kind);
}

void MainEditor::mnuProperties_Click()
{
    document.setSaved(false); // opening counts as a change, whether OK or Cancel follows
    auto *dialog = new frmWorldProperties(*m_platform.fileDialogs, document.settings(),
                                          dialogFolder(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        const WorldSettings chosen = dialog->settings();
        if (!(chosen == document.settings()))
            document.changeSettings(chosen, tr("World Properties"));
    });
    dialog->open();
}
