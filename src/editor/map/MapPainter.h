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

// The start marker's radius: 0.1 map units, but never under this many pixels.
constexpr double MinMarkerRadiusPx = 3.0;

// Paints the whole world, stacked cubes, objects, pictures, texts, start
// marker. mapToDevice takes map units (0..100 both ways) to the painter's
// device pixels; items wholly outside the device are skipped. A hidden item
// (one being dragged) is left out.
void paintWorld(QPainter &painter, const QTransform &mapToDevice, const World &world,
                const std::vector<ShapeInfo> &shapes,
                const std::optional<MapItem> &hidden = std::nullopt);

// Paint one item, or the start marker, alone, as paintWorld paints it: a
// dragged item over the map drawn without it.
void paintItem(QPainter &painter, const QTransform &mapToDevice, const AnyItem &record,
               const std::vector<ShapeInfo> &shapes);
void paintStart(QPainter &painter, const QTransform &mapToDevice, QPointF position);

} // namespace MapPainter
