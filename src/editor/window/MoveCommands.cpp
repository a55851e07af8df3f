// Moving and turning the selection: by dragging the drag handle of a lone
// selected item over the map (while placing; the select tool drags with the
// mouse itself), with the map showing it at its new place while it moves, by
// Ctrl+arrow keys, and R and Shift+R, which turn objects, texts and pictures.
// Each drop and each key press is one undoable command for the whole
// selection.

#include "editor/window/MainEditor.h"

#include "editor/map/MapLayers.h"
#include "editor/palette/DragHandle.h"
#include "editor/palette/PanelParts.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>

namespace {

constexpr double SmallStep = 0.5; // map units
constexpr double LargeStep = 5;

} // namespace

void MainEditor::connectMoveCommands()
{
    connect(Image1, &DragHandle::dragMoved, this, &MainEditor::Image1_DragMove);
    connect(Image1, &DragHandle::dropped, this, &MainEditor::Image1_DragDrop);
    connect(Image1, &DragHandle::dragCancelled, this, &MainEditor::Image1_DragCancel);
    createRotations();
    createNudges();
}

void MainEditor::createRotations()
{
    mnuEdit->addSeparator();
    mnuRotateRight = mnuEdit->addAction(tr("R&otate Clockwise"), this,
                                        [this] { m_document.turn(m_document.selection(), true); });
    mnuRotateRight->setShortcut(QKeySequence(Qt::Key_R));
    mnuRotateLeft = mnuEdit->addAction(tr("Rotate Anticloc&kwise"), this,
                                       [this] { m_document.turn(m_document.selection(), false); });
    mnuRotateLeft->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_R));
    m_selectionActions << mnuRotateRight << mnuRotateLeft;
    nameControls({{mnuRotateRight, "mnuRotateRight"}, {mnuRotateLeft, "mnuRotateLeft"}});
}

void MainEditor::createNudges()
{
    struct Nudge {
        const char *caption;
        Qt::Key key;
        QPointF direction;
    };
    const Nudge nudges[] = {{"Left", Qt::Key_Left, {-1, 0}},
                            {"Right", Qt::Key_Right, {1, 0}},
                            {"Up", Qt::Key_Up, {0, -1}},
                            {"Down", Qt::Key_Down, {0, 1}}};
    mnuEdit->addSeparator();
    QMenu *move = mnuEdit->addMenu(tr("&Move Selection"));
    for (const bool far : {false, true}) {
        if (far)
            move->addSeparator();
        for (const Nudge &n : nudges) {
            const double step = far ? LargeStep : SmallStep;
            const QString caption = far ? tr("%1 by 5 Units").arg(tr(n.caption))
                                        : tr("%1 by Half a Unit").arg(tr(n.caption));
            QAction *action = move->addAction(caption, this, [this, n, step] {
                nudgeSelection(n.direction.x() * step, n.direction.y() * step);
            });
            // Window-wide, so it works while the tree has the focus; a text
            // box keeps Ctrl+arrows for moving by words.
            action->setShortcut(far ? QKeySequence(Qt::CTRL | Qt::SHIFT | n.key)
                                    : QKeySequence(Qt::CTRL | n.key));
            m_selectionActions << action;
        }
    }
}

void MainEditor::nudgeSelection(double dx, double dy)
{
    m_document.move(m_document.selection(), QPointF(dx, dy));
}

QPointF MainEditor::handleOffset(const QRectF &rect) const
{
    const std::optional<MapItem> item = selectedItem();
    const std::optional<Footprint> footprint = item ? footprintOf(world(), *item) : std::nullopt;
    if (!footprint)
        return {};
    return m_snap.point(rect.center(), QGuiApplication::keyboardModifiers()) - footprint->centre;
}

void MainEditor::Image1_DragMove(const QRectF &rect)
{
    if (const std::optional<MapItem> item = selectedItem())
        m_layers->previewMove({*item}, handleOffset(rect));
}

void MainEditor::Image1_DragDrop(const QRectF &rect)
{
    m_document.setSaved(false); // a drop counts as a change, even one that moves nothing
    const QPointF offset = handleOffset(rect);
    m_layers->endPreview([this, offset] {
        if (const std::optional<MapItem> item = selectedItem())
            m_document.move({*item}, offset);
    });
}

void MainEditor::Image1_DragCancel() { m_layers->endPreview(); }
