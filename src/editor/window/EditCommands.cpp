// Changing what is placed: removing the selection (button, Delete in the
// tree or on the map), editing it with the Edit Object dialog (double click
// or Enter on its node) and the World Properties dialog.

#include "editor/window/MainEditor.h"

#include "editor/dialogs/frmEdit.h"
#include "editor/dialogs/frmWorldProperties.h"
#include "editor/palette/ExistingObjects.h"
#include "editor/palette/ObjectTree.h"
#include "editor/window/DocumentFiles.h"

#include <QAction>
#include <QPushButton>
#include <QShortcut>

#include <algorithm>

void MainEditor::connectEditCommands()
{
    connect(cmdRemoveObject, &QPushButton::clicked, this, &MainEditor::cmdRemoveObject_Click);
    // Delete removes the selection where the user sees it: in the tree and on
    // the map. Only the Delete key: the standard sequence adds Ctrl+D on X11.
    Picture2->setFocusPolicy(Qt::ClickFocus);
    for (QWidget *where : {static_cast<QWidget *>(objTree), Picture2}) {
        auto *remove = new QShortcut(QKeySequence(Qt::Key_Delete), where, nullptr, nullptr,
                                     Qt::WidgetWithChildrenShortcut);
        connect(remove, &QShortcut::activated, this, &MainEditor::cmdRemoveObject_Click);
    }
    connect(objTree, &ObjectTree::dblClick, this, &MainEditor::objTree_DblClick);
    for (const QKeySequence &key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
        auto *open = new QShortcut(key, objTree, nullptr, nullptr, Qt::WidgetShortcut);
        connect(open, &QShortcut::activated, this, &MainEditor::objTree_DblClick);
    }
    connect(mnuProperties, &QAction::triggered, this, &MainEditor::mnuProperties_Click);
}

void MainEditor::cmdRemoveObject_Click()
{
    ItemRefs items = m_document.selection();
    items.erase(std::remove(items.begin(), items.end(), ItemRef{KindStart, 0}), items.end());
    if (items.empty()) {
        m_document.setSaved(false); // pressing the button counts as a change, even here
        return;
    }
    const std::vector<int> nodes = ExistingObjects::nodesOf(*objTree, items);
    m_document.removeAll(items, tr("Remove")); // the map and the tree are redrawn

    // The selection moves on to the node that now has the first removed
    // node's place in the order of addition, or to the new last node.
    if (nodes.empty())
        return;
    const int k = nodes.front();
    objTree->selectNode(k > objTree->nodeCount() ? k - 1 : k);
    objTree_NodeClick();
    objTree->expandNode(items.front().kind);
}

void MainEditor::objTree_DblClick()
{
    const int node = objTree->selectedNode();
    std::optional<EditSubject> subject;
    int index = 0;
    if (node == ExistingObjects::StartNode) {
        subject = StartOrientation{world().StartAngle};
    } else if (const std::optional<int> tag = objTree->tag(node);
               node >= ExistingObjects::FirstItemNode && tag) {
        index = *tag;
        if (const std::optional<AnyItem> item = m_document.item(objTree->parentOf(node), index))
            subject = std::visit([](const auto &record) { return EditSubject(record); }, *item);
    }
    // Streets and shrubbery have nothing to edit: their colours are fixed.
    if (const auto *cube = subject ? std::get_if<CubeInfo>(&*subject) : nullptr) {
        if (!cube->Kind.contains(Kind::Wall) && !cube->Kind.contains(Kind::Floor) &&
            !cube->Kind.contains(Kind::Ceiling))
            subject.reset();
    }
    if (!subject)
        return;
    auto *dialog = new frmEdit(m_platform, *subject, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this,
            [this, index, dialog] { ProcessEdit(index, *dialog); });
    dialog->open();
}

void MainEditor::ProcessEdit(int index, const frmEdit &dialog)
{
    m_document.setSaved(false); // OK counts as a change, even when nothing differs
    const EditSubject edited = dialog.edited();
    if (const auto *start = std::get_if<StartOrientation>(&edited)) {
        WorldSettings settings = m_document.settings();
        if (settings.StartAngle == start->StartAngle)
            return;
        settings.StartAngle = start->StartAngle;
        m_document.changeSettings(settings, tr("Edit Start Position"));
        return;
    }
    // The document redraws the map and the tree and selects the item again.
    std::visit(
        [this, index](const auto &record) {
            if constexpr (!std::is_same_v<std::decay_t<decltype(record)>, StartOrientation>)
                m_document.change(index, record, QStringLiteral("Edit"));
        },
        edited);
}

void MainEditor::mnuProperties_Click()
{
    m_document.setSaved(false); // opening counts as a change, whether OK or Cancel follows
    auto *dialog = new frmWorldProperties(*m_platform.fileDialogs, m_document.settings(),
                                          m_files->dialogFolder(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        const WorldSettings chosen = dialog->settings();
        if (!(chosen == m_document.settings()))
            m_document.changeSettings(chosen, tr("World Properties"));
    });
    dialog->open();
}
