#pragma once
// What moving and turning do to an item's record: the one place that knows
// which fields hold an item's place and its orientation.

#include "core/model/WorldDocument.h"

#include <QPointF>
#include <QRectF>

namespace ItemEdits {

// The record moved by the offset: its position, or a rectangle's four sides.
AnyItem translated(AnyItem record, QPointF offset);

// Whether the item has an orientation to turn: objects, texts and pictures.
bool turns(const AnyItem &record);
// The record turned a quarter turn, clockwise as the map shows it (facing
// down, left, up, right, down again); a rotation that is none of the four
// turns as facing down does. A rectangle stays as it is.
AnyItem turned(AnyItem record, bool clockwise);

// Where the record puts the item: a rectangle, or its position (no size).
QRectF extent(const AnyItem &record);

} // namespace ItemEdits
