#pragma once
// Per-item view-frustum culling for the 3-D view.
//
// Coin culls a VRML group only through a valid bounding-box cache and only
// while no display list is being recorded above it. Neither holds reliably
// for our worlds: the box of anything under a Billboard depends on the view,
// so its cache is never valid when drawing (every billboarded picture and
// text was drawn, seen or not), and a world without billboards becomes one
// display list that replays every item every frame. So each item gets a
// node of its own that tests a box that holds the item however its
// billboards turn, and keeps any display list above it from forming (the
// item's own groups below still cache themselves, one list per item).
//
// The same node draws round shapes and letters coarser when the item is
// small on screen (see LevelOfDetail.h). Every other action (bounding
// boxes, picking, walking collisions) sees the item as it is.

#include <Inventor/SbBox3f.h>

#include <functional>

class SoGroup;
class SoNode;
class SoPath;

// `item` inside a new culling node (not referenced), for an item of a
// world the caller builds itself. The box is taken again whenever
// anything below changes.
SoGroup *culledItem(SoNode *item);

// Every item of a world read from a file: each group among the children
// of the world's items group (see pathToItems) goes inside a culling node.
void cullByItem(SoGroup *world);

// The path from the world down to the group whose children are its items
// (an export's world is one transform around everything, itself perhaps
// wrapped in single groups): down through groups that hold a single group.
// Referenced once; the caller unrefs it.
SoPath *pathToItems(SoGroup *world);

// Calls visit with the path to each item below `world` (each culling node)
// and the item's box in the world's coordinates, grown as for culling.
void forEachItem(SoGroup *world, const std::function<void(SoPath *, const SbBox3f &)> &visit);

// The bounding box of `node` in its parent's coordinates, grown so that it
// holds every billboard below at any turn. (Any box of an item, in this or
// Coin's bounding box action, is the box its culling node keeps.)
SbBox3f boundsUnderAnyTurn(SoNode *node);

// Registers the node class with Coin (initCoin does).
void initCulling();
