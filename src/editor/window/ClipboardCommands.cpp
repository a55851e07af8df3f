// The Edit menu's commands on the selection as a whole: Cut, Copy, Paste,
// Duplicate and Select All. A paste puts the middle of what it pastes under
// the pointer when the pointer is over the map, else one unit right of and
// below where the items were copied; a duplicate goes there at once. What is
// pasted becomes the selection (the document selects what a command places).

#include "editor/window/MainEditor.h"

#include "core/model/ItemEdits.h"
#include "editor/map/MapCanvas.h"
#include "editor/palette/PanelParts.h"
#include "editor/window/Clipboard.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QStatusBar>

#include <algorithm>

namespace {

const QPointF NextTo(1, 1); // where a paste or a duplicate goes without the pointer

std::vector<AnyItem> translated(std::vector<AnyItem> items, QPointF offset)
{
    for (AnyItem &item : items)
        item = ItemEdits::translated(std::move(item), offset);
    return items;
}

// What the items cover together.
QRectF extentOf(const std::vector<AnyItem> &items)
{
    QRectF all = ItemEdits::extent(items.front());
    for (const AnyItem &item : items) {
        // QRectF::united passes over rectangles of no size: the points of
        // objects, texts and pictures.
        const QRectF r = ItemEdits::extent(item);
        all.setCoords(std::min(all.left(), r.left()), std::min(all.top(), r.top()),
                      std::max(all.right(), r.right()), std::max(all.bottom(), r.bottom()));
    }
    return all;
}

} // namespace

void MainEditor::createClipboardCommands()
{
    mnuEdit->addSeparator();
    mnuCut = mnuEdit->addAction(tr("Cu&t"), this, &MainEditor::cutSelection);
    mnuCut->setShortcuts(QKeySequence::Cut);
    mnuCopy = mnuEdit->addAction(tr("&Copy"), this, &MainEditor::copySelection);
    mnuCopy->setShortcuts(QKeySequence::Copy);
    mnuPaste = mnuEdit->addAction(tr("&Paste"), this, &MainEditor::paste);
    mnuPaste->setShortcuts(QKeySequence::Paste);
    mnuDuplicate = mnuEdit->addAction(tr("&Duplicate"), this, &MainEditor::duplicateSelection);
    mnuDuplicate->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    mnuSelectAll = mnuEdit->addAction(tr("Select &All"), this, &MainEditor::selectAll);
    mnuSelectAll->setShortcuts(QKeySequence::SelectAll);
    m_selectionActions << mnuCut << mnuCopy << mnuDuplicate;
    nameControls({{mnuCut, "mnuCut"},
                  {mnuCopy, "mnuCopy"},
                  {mnuPaste, "mnuPaste"},
                  {mnuDuplicate, "mnuDuplicate"},
                  {mnuSelectAll, "mnuSelectAll"}});
}

std::vector<AnyItem> MainEditor::selectedRecords() const
{
    std::vector<AnyItem> records;
    for (const ItemRef &item : m_document.selection()) {
        if (std::optional<AnyItem> record = m_document.item(item.kind, item.index))
            records.push_back(std::move(*record));
    }
    return records;
}

void MainEditor::copySelection()
{
    const std::vector<AnyItem> records = selectedRecords();
    if (!records.empty())
        QGuiApplication::clipboard()->setMimeData(Clipboard::mimeData(records));
}

void MainEditor::cutSelection()
{
    copySelection();
    m_document.removeAll(m_document.selection(), tr("Cut"));
}

void MainEditor::paste()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    std::vector<AnyItem> items = data ? Clipboard::items(*data) : std::vector<AnyItem>();
    if (items.empty()) {
        Status1->showMessage(tr("The clipboard holds nothing to put on the map."));
        return;
    }
    QPointF offset = NextTo;
    if (const std::optional<QPointF> pointer = Picture1->pointer()) {
        const QRectF extent = extentOf(items);
        offset = m_snap.offset(extent.topLeft(), *pointer - extent.center(),
                               QGuiApplication::keyboardModifiers());
    }
    m_document.placeAll(translated(std::move(items), offset), tr("Paste"));
}

void MainEditor::duplicateSelection()
{
    m_document.placeAll(translated(selectedRecords(), NextTo), tr("Duplicate"));
}

void MainEditor::selectAll()
{
    ItemRefs all{{KindStart, 0}};
    for (int kind = KindObject; kind <= KindPicture; ++kind) {
        for (int i = 0; i < m_document.count(kind); ++i)
            all.push_back({kind, i});
    }
    m_document.setSelection(all); // unused elements are left out
}
