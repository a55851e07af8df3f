#include "scene/CollisionParts.h"

#include "scene/Culling.h"

#include <Inventor/SoPath.h>
#include <Inventor/SoPickedPoint.h>
#include <Inventor/nodes/SoGroup.h>

#include <algorithm>

void CollisionParts::index(SoGroup *world)
{
    m_parts.truncate(0);
    m_boxes.clear();
    if (!m_pick)
        m_pick = std::make_unique<SoRayPickAction>(SbViewportRegion(100, 100));
    // Boxes that hold billboards at any turn: a ray is tried against a
    // billboard only near it, like against anything else.
    forEachItem(world, [this](SoPath *path, const SbBox3f &box) {
        m_parts.append(path);
        m_boxes.push_back(box);
    });
}

float CollisionParts::freeDistance(const SbVec3f &from, const SbVec3f &direction, float wanted,
                                   float clearance)
{
    if (wanted <= 0)
        return std::max(wanted, 0.0f);
    const float reach = wanted + clearance;
    SbBox3f ray(from, from);
    ray.extendBy(from + direction * reach);
    SoPathList near;
    for (int i = 0; i < m_parts.getLength(); ++i) {
        if (m_boxes[size_t(i)].intersect(ray))
            near.append(m_parts[i]);
    }
    if (near.getLength() == 0)
        return wanted;
    m_pick->setRay(from, direction, 0, reach);
    m_pick->apply(near, TRUE);
    const SoPickedPoint *hit = m_pick->getPickedPoint();
    if (!hit)
        return wanted;
    return std::clamp((hit->getPoint() - from).length() - clearance, 0.0f, wanted);
}
