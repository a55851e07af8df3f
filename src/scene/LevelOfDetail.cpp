#include "scene/LevelOfDetail.h"

#include "scene/TextPicture.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>

#include <Inventor/SbMatrix.h>
#include <Inventor/SoPath.h>
#include <Inventor/SbViewVolume.h>
#include <Inventor/SbViewportRegion.h>
#include <Inventor/SoPrimitiveVertex.h>
#include <Inventor/VRMLnodes/SoVRMLAnchor.h>
#include <Inventor/VRMLnodes/SoVRMLAppearance.h>
#include <Inventor/VRMLnodes/SoVRMLBox.h>
#include <Inventor/VRMLnodes/SoVRMLGroup.h>
#include <Inventor/VRMLnodes/SoVRMLMaterial.h>
#include <Inventor/VRMLnodes/SoVRMLShape.h>
#include <Inventor/VRMLnodes/SoVRMLText.h>
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
#include <Inventor/lists/SoPathList.h>
#include <Inventor/misc/SoChildList.h>
#include <Inventor/misc/SoState.h>
#include <Inventor/nodes/SoShape.h>
#include <Inventor/nodes/SoSubNode.h>

#include <algorithm>
#include <functional>
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
// A text whose lines are fewer pixels high on screen is drawn as a picture
// of its letters: one textured rectangle instead of hundreds of triangles.
// Pictures are made as they are needed, with lines of 96, 48, 24 and 12
// pixels: each is shown at its size or down to half of it (never enlarged),
// and that of a far text stays small.
constexpr float TextPictureBelowPixels = 96;
constexpr int TextPictureSizes = 4;
// Lines lower still cannot be read: a text is a smudge of its colour.
constexpr float TextSmudgeBelowPixels = 6;

// Stand-ins made while drawing are made within a time in each frame: the
// first frame of a large world would otherwise wait for a picture of each of
// its texts. The rest are made in the frames after, and meanwhile not drawn.
namespace {

// At least this long, or as long as drawing the last frame took: a large
// world catches up in a few frames at half speed.
constexpr qint64 MakingPerFrameNs = 8'000'000;
constexpr qint64 FrameNs = 200'000'000; // longer ago than this, a frame is over

struct MakingTime {
    QElapsedTimer frame; // since the frame began
    qint64 spent = 0;
    qint64 allowed = MakingPerFrameNs;
    bool deferred = false;
};

MakingTime &makingTime()
{
    static MakingTime time;
    return time;
}

bool makingAllowed()
{
    MakingTime &time = makingTime();
    if (!time.frame.isValid() || time.frame.nsecsElapsed() > FrameNs)
        beginStandInFrame(); // for drawing that does not say when its frames begin
    if (time.spent < time.allowed)
        return true;
    time.deferred = true;
    return false;
}

void spentMaking(qint64 ns)
{
    makingTime().spent += ns;
}

} // namespace

// Child 0 is the full model, the others its stand-ins. Drawing picks one by
// the model's size on screen; every other action sees the full model only.
class StandIn : public SoGroup
{
    SO_NODE_HEADER(StandIn);

public:
    static void initClass() { SO_NODE_INIT_CLASS(StandIn, SoGroup, "Group"); }
    StandIn() { SO_NODE_CONSTRUCTOR(StandIn); }

    SbBox3f fullBox; // the model's size, in its own coordinates
    // The child to draw at a size on screen, in pixels.
    std::function<int(float pixels)> choose;
    // Makes a stand-in the first time it is chosen; null, or a maker that
    // once returns null, leaves the full model drawn in its place. Until it
    // is made its place among the children is held by an empty group.
    std::function<SoNode *(int which)> make;

    // A stand-in made beforehand, as the next child.
    void addStandIn(SoNode *standIn)
    {
        m_made.resize(getNumChildren() + 1);
        m_made.back() = true;
        addChild(standIn);
    }

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
        const int which = made(choose(pixelsAcross(state, fullBox)));
        if (which < 0)
            return; // its stand-in waits for a later frame
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

    // `which` when it is there or can be made, -1 when it is to be made in
    // a later frame, else 0.
    int made(int which)
    {
        if (which <= 0)
            return 0;
        if (which < getNumChildren() && m_made.value(which))
            return which;
        if (!make)
            return 0;
        if (!makingAllowed())
            return -1;
        QElapsedTimer clock;
        clock.start();
        SoNode *node = make(which);
        spentMaking(clock.nsecsElapsed());
        if (!node) {
            make = nullptr; // nothing to draw a stand-in of, at any size
            return 0;
        }
        // Not a change of the scene: nothing else need know or redraw.
        const SbBool notifying = enableNotify(FALSE);
        while (getNumChildren() <= which)
            addChild(new SoGroup);
        replaceChild(which, node);
        enableNotify(notifying);
        m_made.resize(std::max<qsizetype>(m_made.size(), which + 1));
        m_made[which] = true;
        return which;
    }

    QList<bool> m_made; // by child: a stand-in made, not its place held
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

void beginStandInFrame()
{
    MakingTime &time = makingTime();
    time.frame.start();
    time.spent = 0;
    time.deferred = false;
}

bool endStandInFrame()
{
    MakingTime &time = makingTime();
    time.allowed = std::max(MakingPerFrameNs, time.frame.nsecsElapsed() - time.spent);
    return time.deferred;
}

bool standInsDeferred()
{
    return makingTime().deferred;
}

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
    lod->addStandIn(boxStandIn(box, averageColour(full)));
    lod->choose = [](float pixels) { return pixels < StandInBelowPixels ? 1 : 0; };
    return lod;
}

void addTextStandIns(SoNode *item)
{
    SoSearchAction search;
    search.setType(SoVRMLText::getClassTypeId());
    search.setInterest(SoSearchAction::ALL);
    search.apply(item);
    const SoPathList &found = search.getPaths();
    for (int i = 0; i < found.getLength(); ++i) {
        // Coin's path ends at the shape that holds the text in its field.
        const SoPath *path = found[i];
        int at = path->getLength() - 1;
        if (path->getTail()->isOfType(SoVRMLText::getClassTypeId()))
            --at;
        if (at < 1)
            continue;
        SoNode *shape = path->getNode(at);
        SoNode *parent = path->getNode(at - 1);
        const int index = path->getIndex(at);
        if (!shape->isOfType(SoVRMLShape::getClassTypeId()) ||
            !parent->isOfType(SoGroup::getClassTypeId()) ||
            parent->isOfType(StandIn::getClassTypeId()))
            continue;
        auto *group = static_cast<SoGroup *>(parent);
        if (group->getChild(index) != shape) // met before, through a shared group
            continue;
        // Sized by a line: Coin's box of a text is right across but far
        // taller than its letters, and the font size is the height of a line.
        SoGetBoundingBoxAction bounds{SbViewportRegion(100, 100)};
        bounds.apply(shape);
        const SbBox3f box = bounds.getBoundingBox();
        const SbVec3f centre = box.getCenter();
        auto *text = static_cast<SoVRMLShape *>(shape);
        const float line = lineHeight(static_cast<SoVRMLText *>(text->geometry.getValue())) / 2;
        auto *lod = new StandIn;
        lod->fullBox = SbBox3f(centre - SbVec3f(line, line, 0), centre + SbVec3f(line, line, 0));
        lod->choose = [](float pixels) {
            if (pixels < TextSmudgeBelowPixels)
                return TextPictureSizes + 1;
            int which = 0; // drawn as it is
            for (float line = TextPictureBelowPixels; pixels < line && which < TextPictureSizes;
                 line /= 2)
                ++which;
            return which;
        };
        // The shape, the stand-in's first child, outlives its maker.
        const float left = box.getMin()[0];
        const float right = box.getMax()[0];
        lod->make = [text, left, right](int which) {
            return which > TextPictureSizes
                       ? textSmudge(text, left, right)
                       : textPicture(text, int(TextPictureBelowPixels) >> (which - 1));
        };
        lod->addChild(shape);
        group->replaceChild(index, lod);
    }
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
