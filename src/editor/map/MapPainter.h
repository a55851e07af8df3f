#pragma once
// The top-down drawing of a world: the one place that knows how each kind of
// item looks on the map.

#include "core/library/Footprint.h"
#include "core/model/WorldDocument.h"
#include "core/library/ObjectLibrary.h"

#include <QColor>
#include <QTransform>

#include <optional>
#include <vector>

class QPainter;

namespace MapPainter {

inline const QColor Background{0, 192, 0};
inline const QColor StreetColor{60, 60, 60};
inline const QColor ShrubberyColor{0, 125, 0};
inline const QColor MarkerFill{150, 150, 255};
inline const QColor MarkerOutline{50, 50, 150};
inline const QColor GridColor{0, 165, 0}; // a shade darker than the ground

// The start marker's radius: 0.1 map units, but never under this many pixels.
constexpr double MinMarkerRadiusPx = 3.0;
// Grid lines are drawn at least this many pixels apart: at a small scale only
// every second (fifth...) line of a fine grid shows.
constexpr double MinGridGapPx = 5;

// Paints the whole world, stacked cubes, objects, pictures, texts, start
// marker. mapToDevice takes map units (0..100 both ways) to the painter's
// device pixels; items wholly outside the device are skipped. Hidden items
// (those being dragged; sorted) are left out. A grid of that many map units
// (0: none) lies on the ground, under everything.
void paintWorld(QPainter &painter, const QTransform &mapToDevice, const World &world,
                const std::vector<ShapeInfo> &shapes, const ItemRefs &hidden = {},
                double gridSize = 0);

// Paints items, and the start marker where one is given, alone, as
// paintWorld paints them: dragged items over the map drawn without them.
void paintItems(QPainter &painter, const QTransform &mapToDevice,
                const std::vector<AnyItem> &records, const std::vector<ShapeInfo> &shapes,
                const std::optional<QPointF> &start = std::nullopt);

} // namespace MapPainter
