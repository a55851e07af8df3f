#pragma once
// The map's tool for placing what the palette holds: a click places an
// object, a text or a picture; on the walls panel a drag down and to the
// right draws, showing the rubber band Shape1 while it lasts. The crosshair
// XLine, YLine follows the pointer and goes 1.5 seconds after its last move
// (Timer1). Every placement is one of the document's commands. While snapping
// is on, clicks and both ends of the band land on the grid (Alt held: not).
// Escape on the map asks to leave placing.

#include "core/library/ObjectLibrary.h"
#include "editor/map/MapTool.h"
#include "editor/platform/Platform.h"

#include <QObject>

#include <optional>
#include <vector>

class MapCanvas;
class MapOverlay;
class Palette;
class QTimer;
class WorldDocument;

struct Snap;

class PlaceTool : public QObject, public MapTool {
    Q_OBJECT

public:
    // The rubber band and the crosshair lie on the canvas; messages that
    // refuse a placement open over its window.
    PlaceTool(WorldDocument &document, Palette &palette, const std::vector<ShapeInfo> &shapes,
              const Platform &platform, const Snap &snap, MapCanvas *canvas,
              QObject *parent = nullptr);

    void activate() override;
    void deactivate() override;
    void mousePressed(Qt::MouseButton button, QPointF point,
                      Qt::KeyboardModifiers modifiers) override;
    void mouseMoved(QPointF point, Qt::KeyboardModifiers modifiers) override;
    void mouseReleased(Qt::MouseButton button, QPointF point,
                       Qt::KeyboardModifiers modifiers) override;
    void mouseLeft() override;
    bool keyPressed(int key) override;

    void hideCrosshair(); // it would no longer be where the pointer is

signals:
    // The pointer's map position, while it is over the map, and what a
    // click or a drag will do.
    void statusChanged(const QString &text);
    void escaped(); // Escape on the map: the user leaves placing

private:
    void placeAt(QPointF point);
    QString placementHint() const;
    void updateStatus();

    WorldDocument &m_document;
    Palette &m_palette;
    const std::vector<ShapeInfo> &m_shapes;
    Platform m_platform;
    const Snap &m_snap;
    MapCanvas *m_canvas;
    MapOverlay *Shape1;
    MapOverlay *XLine;
    MapOverlay *YLine;
    QTimer *Timer1;

    bool MouseIsDown = false;
    double StartX = 0; // where a rubber-band drag began, map units
    double StartY = 0;
    std::optional<QPointF> m_pointer; // over the map, map units
};
