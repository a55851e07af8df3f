#pragma once
// Levels of detail the 3-D view makes for itself, so that the file stays
// as written. With Mesa's software renderer a frame costs by the vertex
// (lit by the world's six lights), and most of a walk's view is far away:
//
// - An item small on screen is drawn at a lower complexity: spheres,
//   cylinders, cones and the letters of texts get fewer facets (the
//   culling node of each item decides, see Culling.h).
// - A library object smaller still is drawn as its bounding box in its
//   average colour (that of its materials and textures, by area).
// - A text whose lines are middling on screen is drawn as a picture of its
//   letters (see TextPicture.h): most of a walk's texts, at two triangles
//   each instead of hundreds.
//
// Sizes are the middle one of a box's three extents, in pixels: the height
// of a text's letters, the thickness of a wall, the spread of a tree.
// Only drawing sees the stand-ins: bounding boxes, picking and walking
// collisions always meet the full model.

#include <Inventor/SbBox3f.h>

class SoGroup;
class SoNode;
class SoState;

// The node to put where `full` would go: draws `full` near and its stand-in
// far, and holds `full` (shared, not copied). The stand-in is made now, from
// `full` as it is. A node with nothing to draw is returned as it is.
SoNode *withStandIn(SoNode *full);

// For a world read from an export: each library object's definition (the
// named Group an item's Transform, or its Anchor, holds; later items hold
// it through a Group of their own) is replaced, in every item, by one node
// with its stand-in.
void addLevelsOfDetail(SoGroup *world);

// Each text below `item` (a Shape whose geometry is a Text) is replaced by
// a node that draws it as a picture of its letters at middling sizes; the
// picture is made when first drawn.
void addTextStandIns(SoNode *item);

// The size on screen, in pixels, of `box` given in the state's current
// local coordinates; very large when it reaches the eye.
float pixelsAcross(SoState *state, const SbBox3f &box);

// When `box` is small on screen, pushes the state and lowers its
// complexity; returns whether it did, and so whether to pop.
bool pushCoarseDetail(SoState *state, const SbBox3f &box);

// Stand-ins are made as they are first drawn, up to a time in each frame
// (see LevelOfDetail.cpp). A view says when a frame begins and ends; the end
// says whether some were left for a later frame, for the view to draw
// another, as standInsDeferred does until the next frame.
void beginStandInFrame();
bool endStandInFrame();
bool standInsDeferred();

// Registers the node class with Coin (initCoin does).
void initLevelsOfDetail();
