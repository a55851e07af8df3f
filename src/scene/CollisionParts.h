#pragma once
// The parts of a world a walk can bump into, each with its box in world
// coordinates, so that a collision ray is tried only against the few parts
// near it: picking through the whole of a world of a thousand items on every
// step of a walk costs more than drawing a frame. The boxes are taken again
// only when the world changes.

#include <Inventor/SbBox3f.h>
#include <Inventor/SbVec3f.h>
#include <Inventor/actions/SoRayPickAction.h>
#include <Inventor/lists/SoPathList.h>

#include <memory>
#include <vector>

class SoGroup;

class CollisionParts
{
public:
    // The parts are the world's items (its culling nodes, see Culling.h),
    // wherever they are below it; the ground and the like are no part. The
    // paths start at the world's group, not above it where the camera
    // is: a path hears of every change below its head.
    void index(SoGroup *world);

    // The free distance from `from` along the unit vector `direction`, up to
    // `wanted`, keeping `clearance` from anything hit.
    float freeDistance(const SbVec3f &from, const SbVec3f &direction, float wanted,
                       float clearance);

private:
    SoPathList m_parts;
    std::vector<SbBox3f> m_boxes; // billboards at any turn (boundsUnderAnyTurn)
    std::unique_ptr<SoRayPickAction> m_pick; // made once Coin is set up, kept for every step
};
