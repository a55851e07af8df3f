#include "scene/LevelOfDetail.h"

#include <QHash>

#include <Inventor/SbMatrix.h>
#include <Inventor/SbViewVolume.h>
#include <Inventor/SbViewportRegion.h>
#include <Inventor/SoPrimitiveVertex.h>
#include <Inventor/VRMLnodes/SoVRMLAnchor.h>
#include <Inventor/VRMLnodes/SoVRMLAppearance.h>
#include <Inventor/VRMLnodes/SoVRMLBox.h>
#include <Inventor/VRMLnodes/SoVRMLGroup.h>
#include <Inventor/VRMLnodes/SoVRMLMaterial.h>
#include <Inventor/VRMLnodes/SoVRMLShape.h>
#include <Inventor/VRMLnodes/SoVRMLTransform.h>
#include <Inventor/actions/SoCallbackAction.h>
#include <Inventor/actions/SoGLRenderAction.h>
#include <Inventor/actions/SoGetBoundingBoxAction.h>
#include <Inventor/actions/SoGetMatrixAction.h>
#include <Inventor/actions/SoGetPrimitiveCountAction.h>
#include <Inventor/actions/SoHandleEventAction.h>
#include <Inventor/actions/SoRayPickAction.h>
#include <Inventor/actions/SoSearchAction.h>
#include <Inventor/elements/SoCacheElement.h>
#include <Inventor/elements/SoComplexityElement.h>
#include <Inventor/elements/SoModelMatrixElement.h>
#include <Inventor/elements/SoViewVolumeElement.h>
#include <Inventor/elements/SoViewportRegionElement.h>
#include <Inventor/misc/SoChildList.h>
#include <Inventor/misc/SoState.h>
#include <Inventor/nodes/SoShape.h>
#include <Inventor/nodes/SoSubNode.h>

#include <algorithm>
#include <limits>

// Below this size on screen an item is drawn at a lower complexity: a
// letter 40 pixels high then just shows its corners, a sphere stays round.
// One step only: Coin shares the glyphs of complexities with the same first
// decimal (0.1 and 0.15, 0.2 and the world's 0.25), and the glyphs of one
// text at two such complexities crashed it. A display list is kept for
// each complexity an item is drawn at.
constexpr float CoarseBelowPixels = 40;
constexpr float CoarseComplexity = 0.1f;
// Below this a library object is drawn as its box.
constexpr float StandInBelowPixels = 12;

// Child 0 is the full model, child 1 its stand-in. Drawing picks one by the
// model's size on screen; every other action sees the full model only.
class StandIn : public SoGroup
{
    SO_NODE_HEADER(StandIn);

public:
    static void initClass() { SO_NODE_INIT_CLASS(StandIn, SoGroup, "Group"); }
    StandIn() { SO_NODE_CONSTRUCTOR(StandIn); }

    SbBox3f fullBox; // the full model's, in its own coordinates

    void GLRender(SoGLRenderAction *action) override
    {
        if (action->getCurPathCode() == SoAction::IN_PATH) // a late transparent shape
            SoGroup::GLRender(action);
        else if (action->getCurPathCode() != SoAction::OFF_PATH)
            GLRenderBelowPath(action);
    }

    void GLRenderBelowPath(SoGLRenderAction *action) override
    {
        SoState *state = action->getState();
        if (state->isCacheOpen()) // the choice depends on the view
            SoCacheElement::invalidate(state);
        const int which = pixelsAcross(state, fullBox) < StandInBelowPixels ? 1 : 0;
        SoNode *child = getChild(which);
        action->pushCurPath(which, child);
        child->GLRenderBelowPath(action);
        action->popCurPath();
    }

    void doAction(SoAction *action) override
    {
        int count = 0;
        const int *indices = nullptr;
        if (action->getPathCode(count, indices) == SoAction::IN_PATH)
            getChildren()->traverseInPath(action, count, indices);
        else
            getChildren()->traverse(action, 0);
    }
    void callback(SoCallbackAction *action) override { doAction(action); }
    void getBoundingBox(SoGetBoundingBoxAction *action) override { doAction(action); }
    void getMatrix(SoGetMatrixAction *action) override
    {
        int count = 0;
        const int *indices = nullptr;
        if (action->getPathCode(count, indices) == SoAction::IN_PATH)
            getChildren()->traverseInPath(action, count, indices);
    }
    void rayPick(SoRayPickAction *action) override { doAction(action); }
    void handleEvent(SoHandleEventAction *action) override { doAction(action); }
    void getPrimitiveCount(SoGetPrimitiveCountAction *action) override { doAction(action); }
    void search(SoSearchAction *action) override
    {
        SoNode::search(action);
        if (!action->isFound())
            doAction(action);
    }

private:
    ~StandIn() override = default;
};

SO_NODE_SOURCE(StandIn);

namespace {


// The average colour of a texture image's pixels.
SbColor averageOf(const unsigned char *pixels, const SbVec2s &size, int components)
{
    const int count = int(size[0]) * int(size[1]);
    if (!pixels || count <= 0 || components <= 0)
        return SbColor(1, 1, 1);
    double sum[3] = {0, 0, 0};
    for (int i = 0; i < count; ++i) {
        const unsigned char *pixel = pixels + i * components;
        for (int c = 0; c < 3; ++c)
            sum[c] += pixel[components >= 3 ? c : 0]; // grey images: one value
    }
    return SbColor(float(sum[0] / count / 255), float(sum[1] / count / 255),
                   float(sum[2] / count / 255));
}

// Gathers the colour of every triangle, weighted by its area: the diffuse
// colour, times the texture's average where there is one (as Coin draws it).
struct ColourSum {
    SbVec3f weighted{0, 0, 0};
    float area = 0;
    QHash<const unsigned char *, SbColor> textures; // each image averaged once
};

void addTriangle(void *data, SoCallbackAction *action, const SoPrimitiveVertex *a,
                 const SoPrimitiveVertex *b, const SoPrimitiveVertex *c)
{
    auto *sum = static_cast<ColourSum *>(data);
    const SbMatrix &toModel = action->getModelMatrix();
    SbVec3f p[3];
    toModel.multVecMatrix(a->getPoint(), p[0]);
    toModel.multVecMatrix(b->getPoint(), p[1]);
    toModel.multVecMatrix(c->getPoint(), p[2]);
    const float area = (p[1] - p[0]).cross(p[2] - p[0]).length() / 2;
    if (!(area > 0))
        return;
    SbColor ambient, diffuse, specular, emission;
    float shininess = 0, transparency = 0;
    action->getMaterial(ambient, diffuse, specular, emission, shininess, transparency,
                        a->getMaterialIndex());
    SbVec2s size;
    int components = 0;
    if (const unsigned char *image = action->getTextureImage(size, components)) {
        auto known = sum->textures.constFind(image);
        if (known == sum->textures.cend())
            known = sum->textures.insert(image, averageOf(image, size, components));
        for (int i = 0; i < 3; ++i)
            diffuse[i] *= (*known)[i];
    }
    sum->weighted += diffuse * area;
    sum->area += area;
}

SbColor averageColour(SoNode *node)
{
    ColourSum sum;
    SoCallbackAction action;
    action.addTriangleCallback(SoShape::getClassTypeId(), addTriangle, &sum);
    action.apply(node);
    if (!(sum.area > 0))
        return SbColor(0.5f, 0.5f, 0.5f);
    return SbColor(sum.weighted / sum.area);
}

// The box, in the colour, as VRML nodes: lit and shaded like the rest.
SoNode *boxStandIn(const SbBox3f &box, const SbColor &colour)
{
    auto *material = new SoVRMLMaterial;
    material->diffuseColor = colour;
    auto *appearance = new SoVRMLAppearance;
    appearance->material = material;
    float dx = 0, dy = 0, dz = 0;
    box.getSize(dx, dy, dz);
    auto *geometry = new SoVRMLBox;
    geometry->size.setValue(dx, dy, dz);
    auto *shape = new SoVRMLShape;
    shape->appearance = appearance;
    shape->geometry = geometry;
    auto *place = new SoVRMLTransform;
    place->translation = box.getCenter();
    place->addChild(shape);
    return place;
}

// Replaces, below `group`, every library object's definition by its node
// with a stand-in. Items nest a definition at most three groups deep
// (Transform, Anchor, Group); deeper is left alone.
void replaceDefinitions(SoGroup *group, QHash<SoNode *, SoNode *> &replaced, int depthLeft)
{
    for (int i = 0; i < group->getNumChildren(); ++i) {
        SoNode *child = group->getChild(i);
        const SoType type = child->getTypeId();
        if (type == SoVRMLGroup::getClassTypeId() && child->getName().getLength() > 0) {
            SoNode *&lod = replaced[child];
            if (!lod)
                lod = withStandIn(child);
            group->replaceChild(i, lod);
        } else if (depthLeft > 0 &&
                   (type == SoVRMLGroup::getClassTypeId() ||
                    type == SoVRMLTransform::getClassTypeId() ||
                    type == SoVRMLAnchor::getClassTypeId())) {
            replaceDefinitions(static_cast<SoGroup *>(child), replaced, depthLeft - 1);
        }
    }
}

} // namespace

void initLevelsOfDetail()
{
    StandIn::initClass();
}

SoNode *withStandIn(SoNode *full)
{
    SoGetBoundingBoxAction bounds{SbViewportRegion(100, 100)};
    bounds.apply(full);
    const SbBox3f box = bounds.getBoundingBox();
    if (box.isEmpty())
        return full;
    auto *lod = new StandIn;
    lod->fullBox = box;
    lod->addChild(full);
    lod->addChild(boxStandIn(box, averageColour(full)));
    return lod;
}

void addLevelsOfDetail(SoGroup *world)
{
    QHash<SoNode *, SoNode *> replaced;
    for (int i = 0; i < world->getNumChildren(); ++i) {
        // The items, however deep the world's own groups put them.
        SoNode *child = world->getChild(i);
        if (child->isOfType(SoGroup::getClassTypeId()))
            replaceDefinitions(static_cast<SoGroup *>(child), replaced, 3);
    }
}

float pixelsAcross(SoState *state, const SbBox3f &box)
{
    const SbMatrix &toWorld = SoModelMatrixElement::get(state);
    float extents[3];
    box.getSize(extents[0], extents[1], extents[2]);
    for (int i = 0; i < 3; ++i) {
        SbVec3f axis(0, 0, 0);
        axis[i] = extents[i];
        SbVec3f scaled;
        toWorld.multDirMatrix(axis, scaled);
        extents[i] = scaled.length();
    }
    std::sort(extents, extents + 3);
    SbVec3f centre;
    toWorld.multVecMatrix(box.getCenter(), centre);
    const SbViewVolume &view = SoViewVolumeElement::get(state);
    // The world height the viewport shows at the box's depth.
    float shown = view.getHeight();
    if (view.getProjectionType() == SbViewVolume::PERSPECTIVE) {
        const float depth = (centre - view.getProjectionPoint()).dot(view.getProjectionDirection());
        if (depth <= view.getNearDist())
            return std::numeric_limits<float>::max();
        shown *= depth / view.getNearDist();
    }
    const float pixels = SoViewportRegionElement::get(state).getViewportSizePixels()[1];
    return shown > 0 ? extents[1] / shown * pixels : std::numeric_limits<float>::max();
}

bool pushCoarseDetail(SoState *state, const SbBox3f &box)
{
    if (box.isEmpty() || SoComplexityElement::get(state) <= CoarseComplexity ||
        pixelsAcross(state, box) >= CoarseBelowPixels)
        return false;
    state->push();
    SoComplexityElement::set(state, CoarseComplexity);
    return true;
}
