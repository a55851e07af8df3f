#pragma once
// The map's tool for placing what the palette holds: a click places an
// object, a text or a picture; on the walls panel a drag down and to the
// right draws, showing the rubber band Shape1 while it lasts. The crosshair
// XLine, YLine follows the pointer and goes 1.5 seconds after its last move
// (Timer1). Every placement is one of the document's commands.

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

class PlaceTool : public QObject, public MapTool {
    Q_OBJECT

public:
    // The rubber band and the crosshair lie on the canvas; messages that
    // refuse a placement open over its window.
    PlaceTool(WorldDocument &document, Palette &palette, const std::vector<ShapeInfo> &shapes,
              const Platform &platform, MapCanvas *canvas, QObject *parent = nullptr);

    void activate() override;
    void deactivate() override;
    void mousePressed(Qt::MouseButton button, QPointF point) override;
    void mouseMoved(QPointF point) override;
    void mouseReleased(Qt::MouseButton button, QPointF point) override;
    void mouseLeft() override;

    void hideCrosshair(); // it would no longer be where the pointer is

signals:
    // The pointer's map position, while it is over the map, and what a
    // click or a drag will do.
    void statusChanged(const QString &text);

private:
    void placeAt(QPointF point);
    QString placementHint() const;
    void updateStatus();

    WorldDocument &m_document;
    Palette &m_palette;
    const std::vector<ShapeInfo> &m_shapes;
    Platform m_platform;
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
