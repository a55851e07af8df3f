// Moving the selected object, text, picture or start position: by dragging
// its handle over the map, with the map showing it at its new place while
// it moves, or by Ctrl+arrow keys. Each drop and each key press is one
// undoable move.

#include "editor/window/MainEditor.h"

#include "editor/map/MapCanvas.h"
#include "editor/map/MapOverlay.h"
#include "editor/map/MapPainter.h"
#include "editor/palette/DragHandle.h"

#include <QAction>
#include <QMenu>

namespace {

constexpr double SmallStep = 0.5; // map units
constexpr double LargeStep = 5;

// The record with its centre at the point; walls and the like stay.
AnyItem movedTo(AnyItem record, QPointF centre)
{
    std::visit(
        [centre](auto &item) {
            if constexpr (!std::is_same_v<std::decay_t<decltype(item)>, CubeInfo>) {
                item.X = float(centre.x());
                item.Y = float(centre.y());
            }
        },
        record);
    return record;
}

} // namespace

void MainEditor::connectMoveCommands()
{
    connect(Image1, &DragHandle::dragStarted, this, &MainEditor::Image1_DragStart);
    connect(Image1, &DragHandle::dragMoved, this, &MainEditor::Image1_DragMove);
    connect(Image1, &DragHandle::dropped, this, &MainEditor::Image1_DragDrop);
    connect(Image1, &DragHandle::dragCancelled, this, &MainEditor::Image1_DragCancel);
    createNudges();
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
    QMenu *move = mnuEdit->addMenu(tr("&Move Selected Item"));
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
        }
    }
}

void MainEditor::nudgeSelection(double dx, double dy)
{
    const std::optional<MapItem> item = selectedItem();
    const std::optional<Footprint> footprint = item ? footprintOf(world(), *item) : std::nullopt;
    if (footprint && footprint->movable)
        moveSelectionTo(footprint->centre + QPointF(dx, dy));
}

void MainEditor::moveSelectionTo(QPointF centre)
{
    const std::optional<MapItem> item = selectedItem();
    if (!item || item->kind == KindCube)
        return;
    if (item->kind == KindStart) {
        WorldSettings settings = m_document.settings();
        if (QPointF(settings.StartPosX, settings.StartPosY) == centre)
            return;
        settings.StartPosX = centre.x();
        settings.StartPosY = centre.y();
        m_document.changeSettings(settings, tr("Move Start Position"));
    } else if (const std::optional<AnyItem> record = m_document.item(item->kind, item->index)) {
        m_document.change(item->index, movedTo(*record, centre), tr("Move"));
    }
}

void MainEditor::Image1_DragStart()
{
    m_dragged = selectedItem();
    if (m_dragged)
        Picture1->redraw(); // the map without the item, which the handle now carries
}

void MainEditor::Image1_DragMove(const QRectF &rect)
{
    shpSelector->setMapRect(rect);
    if (!m_dragged)
        return;
    const QPointF centre = rect.center();
    if (m_dragged->kind == KindStart) {
        Picture1->setFloating([centre](QPainter &painter, const QTransform &mapToDevice) {
            MapPainter::paintStart(painter, mapToDevice, centre);
        });
    } else if (const std::optional<AnyItem> record =
                   m_document.item(m_dragged->kind, m_dragged->index)) {
        Picture1->setFloating([this, moved = movedTo(*record, centre)](
                                  QPainter &painter, const QTransform &mapToDevice) {
            MapPainter::paintItem(painter, mapToDevice, moved, Shapes);
        });
    }
}

void MainEditor::Image1_DragDrop(const QRectF &rect)
{
    m_document.setSaved(false); // a drop counts as a change, even one that moves nothing
    const bool previewed = m_dragged.has_value();
    m_dragged.reset();
    Picture1->setFloating({});
    shpSelector->setMapRect(rect);
    shpSelector->show();
    const int before = m_document.undoStack().index();
    moveSelectionTo(rect.center());
    if (previewed && m_document.undoStack().index() == before)
        Render2D(false, 0, -1); // nothing moved: the item back on the map
}

void MainEditor::Image1_DragCancel()
{
    m_dragged.reset();
    Picture1->setFloating({});
    shpSelector->setMapRect(Image1->mapRect());
    Render2D(false, 0, -1);
}
