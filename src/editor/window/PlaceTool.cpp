#include "editor/window/PlaceTool.h"

#include "core/model/WorldDocument.h"
#include "editor/map/MapCanvas.h"
#include "editor/map/MapOverlay.h"
#include "editor/map/Snap.h"
#include "editor/palette/OrientationPanel.h"
#include "editor/palette/PanelParts.h"
#include "editor/palette/PicturePanel.h"
#include "editor/palette/TextPanel.h"
#include "editor/window/Palette.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTimer>

namespace {

constexpr int CrosshairMs = 1500;

} // namespace

PlaceTool::PlaceTool(WorldDocument &document, Palette &palette,
                     const std::vector<ShapeInfo> &shapes, const Platform &platform,
                     const Snap &snap, MapCanvas *canvas, QObject *parent)
    : QObject(parent), m_document(document), m_palette(palette), m_shapes(shapes),
      m_platform(platform), m_snap(snap), m_canvas(canvas),
      Shape1(new MapOverlay(canvas, MapOverlay::Look::Band)),
      XLine(new MapOverlay(canvas, MapOverlay::Look::Line)),
      YLine(new MapOverlay(canvas, MapOverlay::Look::Line)), Timer1(new QTimer(this))
{
    nameControls({{Shape1, "Shape1"}, {XLine, "XLine"}, {YLine, "YLine"}, {Timer1, "Timer1"}});
    Timer1->setInterval(CrosshairMs);
    connect(Timer1, &QTimer::timeout, this, &PlaceTool::hideCrosshair);
    connect(&palette, &Palette::changed, this, &PlaceTool::updateStatus);
}

void PlaceTool::activate()
{
    Timer1->start();
    updateStatus();
}

void PlaceTool::deactivate()
{
    Timer1->stop();
    hideCrosshair();
    Shape1->hide();
    MouseIsDown = false;
    m_pointer.reset();
}

void PlaceTool::mousePressed(Qt::MouseButton button, QPointF pointer,
                             Qt::KeyboardModifiers modifiers)
{
    if (button != Qt::LeftButton)
        return;
    const QPointF point = m_snap.point(pointer, modifiers);
    MouseIsDown = true;
    if (m_palette.isShown(Palette::CubesPanel)) {
        StartX = point.x();
        StartY = point.y();
        Shape1->setMapRect(QRectF(point, QSizeF(1, 1)));
        Shape1->show();
        Shape1->raise();
    }
}

void PlaceTool::mouseMoved(QPointF pointer, Qt::KeyboardModifiers modifiers)
{
    const QPointF point = m_snap.point(pointer, modifiers);
    if (Shape1->isVisible()) {
        // The band grows only to the right of and below where it began.
        QRectF band = Shape1->mapRect();
        if (point.x() > band.left())
            band.setWidth(point.x() - band.left());
        if (point.y() > band.top())
            band.setHeight(point.y() - band.top());
        Shape1->setMapRect(band);
    }
    XLine->setMapRect(QRectF(point.x(), 0, 0, 100));
    YLine->setMapRect(QRectF(0, point.y(), 100, 0));
    for (MapOverlay *line : {XLine, YLine}) {
        line->show();
        line->raise();
    }
    Timer1->start(); // the crosshair goes 1.5 seconds after the last move
    m_pointer = point;
    updateStatus();
}

void PlaceTool::mouseReleased(Qt::MouseButton button, QPointF point,
                              Qt::KeyboardModifiers modifiers)
{
    if (button != Qt::LeftButton || !MouseIsDown)
        return;
    MouseIsDown = false;
    placeAt(m_snap.point(point, modifiers));
}

void PlaceTool::mouseLeft()
{
    hideCrosshair();
    m_pointer.reset();
    updateStatus();
}

bool PlaceTool::keyPressed(int key)
{
    if (key != Qt::Key_Escape)
        return false;
    emit escaped();
    return true;
}

void PlaceTool::hideCrosshair()
{
    XLine->hide();
    YLine->hide();
}

void PlaceTool::placeAt(QPointF point)
{
    // Each link goes to one item: the anchor is taken by every click, also
    // one that places nothing.
    OrientationPanel &orientation = m_palette.orientation();
    const QString anchor = orientation.takeAnchor();
    const float rotation = orientation.rotation();
    const QString target = orientation.target();
    const auto x = float(point.x());
    const auto y = float(point.y());
    const auto refuse = [this](const QString &message) {
        m_platform.messages->inform(m_canvas->window(), message);
    };

    if (m_palette.isShown(Palette::ObjectsPanel)) {
        const std::optional<Palette::ListedObject> row = m_palette.chosenObject();
        const int entry = row ? row->entry : -1;
        if (entry < 0 || entry >= int(m_shapes.size())) {
            m_document.setSaved(false); // a click counts as a change, though nothing is placed
            return;
        }
        m_document.place(ObjectInfo{m_shapes[size_t(entry)].Name, x, y, rotation, anchor, target});
    } else if (m_palette.isShown(Palette::PicturesPanel)) {
        PicturePanel &p = m_palette.picture();
        if (p.fileName().isEmpty())
            return refuse(tr("Please select a file."));
        if (const auto refusal = p.sizeRefusal(PicturePanel::Wording::Placing))
            return refuse(refusal->message);
        const std::optional<float> height = p.heightUnits();
        const std::optional<float> width = p.widthUnits();
        const std::optional<float> offGround = p.offGroundUnits();
        const PictureInfo picture{x,
                                  y,
                                  *offGround,
                                  *width,
                                  *height,
                                  rotation,
                                  p.chk2DBillBoard->isChecked(),
                                  p.fileName(),
                                  anchor,
                                  target};
        p.clear();
        m_document.place(picture);
    } else if (m_palette.isShown(Palette::TextsPanel)) {
        TextPanel &panel = m_palette.text();
        if (panel.txtTextText->text().isEmpty())
            return refuse(tr("Please specify the text to be inserted."));
        TextInfo text{{}, x, y, 0, rotation, {}, false, anchor, {}, target};
        panel.applyTo(text);
        panel.txtTextText->clear();
        m_document.place(text);
    } else if (m_palette.isShown(Palette::CubesPanel)) {
        Shape1->hide();
        if (point.x() < StartX || point.y() < StartY)
            return; // only drags down and to the right draw
        m_document.place(CubeInfo{m_palette.chosenCube().kind, float(StartX), x, float(StartY), y,
                                  m_palette.surfaceColor()});
    }
}

QString PlaceTool::placementHint() const
{
    switch (m_palette.currentPanel()) {
    case Palette::ObjectsPanel: {
        const std::optional<Palette::ListedObject> row = m_palette.chosenObject();
        return row ? tr("Click to place %1").arg(row->name) : tr("Choose an object in the list");
    }
    case Palette::TextsPanel:
        return m_palette.text().txtTextText->text().isEmpty() ? tr("Type the text to be displayed")
                                                              : tr("Click to place the text");
    case Palette::CubesPanel:
        return tr("Drag down and to the right to draw %1").arg(tr(m_palette.chosenCube().drawn));
    case Palette::PicturesPanel:
        return m_palette.picture().fileName().isEmpty() ? tr("Find a picture to place")
                                                        : tr("Click to place the picture");
    default:
        return QString();
    }
}

void PlaceTool::updateStatus() { emit statusChanged(statusText(m_pointer, placementHint())); }
