#include "scene/CollisionParts.h"

#include <Inventor/SoPath.h>
#include <Inventor/SoPickedPoint.h>
#include <Inventor/VRMLnodes/SoVRMLBillboard.h>
#include <Inventor/actions/SoGetBoundingBoxAction.h>
#include <Inventor/actions/SoSearchAction.h>
#include <Inventor/nodes/SoGroup.h>

#include <algorithm>

namespace {

bool turnsWithViewer(SoNode *node)
{
    SoSearchAction search;
    search.setType(SoVRMLBillboard::getClassTypeId());
    search.setSearchingAll(TRUE);
    search.apply(node);
    return search.getPath() != nullptr;
}

} // namespace

void CollisionParts::index(SoGroup *world)
{
    m_parts.truncate(0);
    m_boxes.clear();
    if (!m_pick)
        m_pick = std::make_unique<SoRayPickAction>(SbViewportRegion(100, 100));
    auto *path = new SoPath(world);
    path->ref();
    for (SoGroup *group = world;;) { // down through groups that wrap a single group
        SoGroup *inner = nullptr;
        int groups = 0;
        for (int i = 0; i < group->getNumChildren(); ++i) {
            if (group->getChild(i)->isOfType(SoGroup::getClassTypeId())) {
                inner = static_cast<SoGroup *>(group->getChild(i));
                ++groups;
            }
        }
        if (groups != 1)
            break;
        path->append(inner);
        group = inner;
    }
    auto *parent = static_cast<SoGroup *>(path->getTail());
    SoGetBoundingBoxAction bounds{SbViewportRegion(100, 100)};
    for (int i = 0; i < parent->getNumChildren(); ++i) {
        SoPath *part = path->copy();
        part->append(i);
        bounds.apply(part);
        const SbBox3f box = bounds.getXfBoundingBox().project();
        if (box.isEmpty()) {
            part->ref();
            part->unref();
            continue;
        }
        m_parts.append(part);
        m_boxes.push_back(turnsWithViewer(parent->getChild(i)) ? SbBox3f() : box);
    }
    path->unref();
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
        if (m_boxes[size_t(i)].isEmpty() || m_boxes[size_t(i)].intersect(ray))
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
