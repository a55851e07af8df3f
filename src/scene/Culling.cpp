#include "scene/Culling.h"

#include "scene/LevelOfDetail.h"

#include <QHash>

#include <Inventor/SbMatrix.h>
#include <Inventor/SbViewportRegion.h>
#include <Inventor/SoPath.h>
#include <Inventor/VRMLnodes/SoVRMLBillboard.h>
#include <Inventor/actions/SoGLRenderAction.h>
#include <Inventor/actions/SoGetBoundingBoxAction.h>
#include <Inventor/actions/SoGetMatrixAction.h>
#include <Inventor/actions/SoSearchAction.h>
#include <Inventor/elements/SoCacheElement.h>
#include <Inventor/elements/SoCullElement.h>
#include <Inventor/lists/SoPathList.h>
#include <Inventor/misc/SoState.h>
#include <Inventor/nodes/SoGroup.h>
#include <Inventor/nodes/SoSubNode.h>

#include <algorithm>
#include <cmath>
#include <limits>

// An item: drawn only when its box meets the view, coarser when small.
class CulledItem : public SoGroup
{
    SO_NODE_HEADER(CulledItem);

public:
    static void initClass() { SO_NODE_INIT_CLASS(CulledItem, SoGroup, "Group"); }
    CulledItem() { SO_NODE_CONSTRUCTOR(CulledItem); }

    void GLRender(SoGLRenderAction *action) override
    {
        switch (action->getCurPathCode()) {
        case SoAction::NO_PATH:
        case SoAction::BELOW_PATH:
            GLRenderBelowPath(action);
            break;
        case SoAction::IN_PATH: // a transparent shape drawn late, as chosen before
            SoGroup::GLRender(action);
            break;
        case SoAction::OFF_PATH:
            break; // items leave no state behind
        }
    }

    // In the parent's coordinates, as cullTest wants it.
    const SbBox3f &box()
    {
        if (!m_boxKnown) {
            m_box = SbBox3f();
            for (int i = 0; i < getNumChildren(); ++i)
                m_box.extendBy(boundsUnderAnyTurn(getChild(i)));
            m_boxKnown = true;
        }
        return m_box;
    }

    // The box kept for culling, in any box of the world: it holds the item
    // whichever way its billboards turn, and is not taken item by item again.
    void getBoundingBox(SoGetBoundingBoxAction *action) override
    {
        if (action->getCurPathCode() == SoAction::IN_PATH) { // a box of something within
            SoGroup::getBoundingBox(action);
            return;
        }
        if (const SbBox3f &kept = box(); !kept.isEmpty())
            action->extendBy(kept);
    }

    void GLRenderBelowPath(SoGLRenderAction *action) override
    {
        SoState *state = action->getState();
        // What is drawn depends on the view: a display list above must not
        // keep one frame's choice, whether drawn or culled.
        if (state->isCacheOpen())
            SoCacheElement::invalidate(state);
        const SbBox3f &kept = box();
        if (!kept.isEmpty() && SoCullElement::cullTest(state, kept, TRUE))
            return;
        const bool coarse = pushCoarseDetail(state, kept);
        // (SoGroup's own GLRenderBelowPath calls back into GLRender.)
        action->pushCurPath();
        for (int i = 0; i < getNumChildren() && !action->hasTerminated(); ++i) {
            action->popPushCurPath(i, getChild(i));
            getChild(i)->GLRenderBelowPath(action);
        }
        action->popCurPath();
        if (coarse)
            state->pop();
    }

    void notify(SoNotList *list) override
    {
        m_boxKnown = false; // something below changed, or moved
        SoGroup::notify(list);
    }

private:
    ~CulledItem() override = default;

    SbBox3f m_box;
    bool m_boxKnown = false;
};

SO_NODE_SOURCE(CulledItem);

namespace {


// The box that holds `local` (in a billboard's coordinates) turned by any
// angle about `axis` through the origin; about every axis when it is zero
// (a billboard that faces the viewer fully).
SbBox3f turningBounds(const SbBox3f &local, SbVec3f axis)
{
    const SbVec3f &lo = local.getMin();
    const SbVec3f &hi = local.getMax();
    const bool free = axis.length() < 1e-6f;
    if (!free)
        axis.normalize();
    float radius = 0;
    float low = std::numeric_limits<float>::max();
    float high = -low;
    for (int i = 0; i < 8; ++i) {
        const SbVec3f corner((i & 1) ? hi[0] : lo[0], (i & 2) ? hi[1] : lo[1],
                             (i & 4) ? hi[2] : lo[2]);
        if (free) {
            radius = std::max(radius, corner.length());
            continue;
        }
        const float along = corner.dot(axis);
        low = std::min(low, along);
        high = std::max(high, along);
        radius = std::max(radius, (corner - axis * along).length());
    }
    if (free)
        return SbBox3f(-radius, -radius, -radius, radius, radius, radius);
    // A cylinder about the axis: its end discs reach radius * sin(angle
    // between the axis and each coordinate axis) along that coordinate.
    SbBox3f box(axis * low, axis * low);
    box.extendBy(axis * high);
    SbVec3f grow;
    for (int i = 0; i < 3; ++i)
        grow[i] = radius * std::sqrt(std::max(0.0f, 1 - axis[i] * axis[i]));
    return SbBox3f(box.getMin() - grow, box.getMax() + grow);
}

bool insideItem(const SoPath *path)
{
    for (int i = 0; i < path->getLength(); ++i)
        if (path->getNode(i)->isOfType(CulledItem::getClassTypeId()))
            return true;
    return false;
}

} // namespace

void initCulling()
{
    CulledItem::initClass();
}

SoGroup *culledItem(SoNode *item)
{
    auto *culled = new CulledItem;
    culled->addChild(item); // referenced before an action meets it
    addTextStandIns(item);
    return culled;
}

SoPath *pathToItems(SoGroup *world)
{
    auto *path = new SoPath(world);
    path->ref();
    for (SoGroup *group = world;;) {
        SoGroup *inner = nullptr;
        int groups = 0;
        for (int i = 0; i < group->getNumChildren(); ++i) {
            if (group->getChild(i)->isOfType(SoGroup::getClassTypeId())) {
                inner = static_cast<SoGroup *>(group->getChild(i));
                ++groups;
            }
        }
        if (groups != 1)
            return path;
        path->append(inner);
        group = inner;
    }
}

void cullByItem(SoGroup *world)
{
    SoPath *path = pathToItems(world);
    auto *items = static_cast<SoGroup *>(path->getTail());
    for (int i = 0; i < items->getNumChildren(); ++i) {
        // Lights, viewpoints, backgrounds and the like are left where they
        // are: they are drawn, or bound, wherever the viewer looks.
        SoNode *child = items->getChild(i);
        if (child->isOfType(SoGroup::getClassTypeId()) &&
            !child->isOfType(CulledItem::getClassTypeId()))
            items->replaceChild(i, culledItem(child));
    }
    path->unref();
}

void forEachItem(SoGroup *world, const std::function<void(SoPath *, const SbBox3f &)> &visit)
{
    SoSearchAction search;
    search.setType(CulledItem::getClassTypeId());
    search.setInterest(SoSearchAction::ALL);
    search.apply(world);
    const SoPathList &found = search.getPaths();
    // Items mostly share their parent: one matrix for each.
    QHash<SoNode *, SbMatrix> toWorld;
    for (int i = 0; i < found.getLength(); ++i) {
        SoPath *path = found[i];
        auto *item = static_cast<CulledItem *>(path->getTail());
        SbBox3f box = item->box();
        if (box.isEmpty())
            continue;
        SoNode *parent = path->getNodeFromTail(1);
        auto known = toWorld.constFind(parent);
        if (known == toWorld.cend()) {
            SoPath *above = path->copy(0, path->getLength() - 1);
            above->ref();
            SoGetMatrixAction matrix{SbViewportRegion(100, 100)};
            matrix.apply(above);
            above->unref();
            known = toWorld.insert(parent, matrix.getMatrix());
        }
        box.transform(*known);
        visit(path, box);
    }
}

SbBox3f boundsUnderAnyTurn(SoNode *node)
{
    const SbViewportRegion viewport(100, 100);
    SoGetBoundingBoxAction bounds(viewport);
    bounds.apply(node);
    SbBox3f box = bounds.getBoundingBox(); // billboards as turned for some view

    SoSearchAction search;
    search.setType(SoVRMLBillboard::getClassTypeId());
    search.setInterest(SoSearchAction::ALL);
    search.apply(node);
    const SoPathList &found = search.getPaths();
    for (int i = 0; i < found.getLength(); ++i) {
        if (insideItem(found[i]))
            continue; // the item's box holds it already
        auto *billboard = static_cast<SoVRMLBillboard *>(found[i]->getTail());
        SbBox3f local;
        for (int c = 0; c < billboard->getNumChildren(); ++c) {
            bounds.apply(billboard->getChild(c));
            local.extendBy(bounds.getBoundingBox());
        }
        if (local.isEmpty())
            continue;
        SbBox3f turned = turningBounds(local, billboard->axisOfRotation.getValue());
        if (found[i]->getLength() > 1) { // the transformations above the billboard
            SoPath *above = found[i]->copy(0, found[i]->getLength() - 1);
            above->ref();
            SoGetMatrixAction matrix(viewport);
            matrix.apply(above);
            turned.transform(matrix.getMatrix());
            above->unref();
        }
        box.extendBy(turned);
    }
    return box;
}
