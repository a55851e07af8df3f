#include "scene/TextPicture.h"

#include <QImage>
#include <QPainter>

#include <Inventor/SbBox3f.h>
#include <Inventor/SoPrimitiveVertex.h>
#include <Inventor/VRMLnodes/SoVRMLAppearance.h>
#include <Inventor/VRMLnodes/SoVRMLCoordinate.h>
#include <Inventor/VRMLnodes/SoVRMLFontStyle.h>
#include <Inventor/VRMLnodes/SoVRMLIndexedFaceSet.h>
#include <Inventor/VRMLnodes/SoVRMLMaterial.h>
#include <Inventor/VRMLnodes/SoVRMLNormal.h>
#include <Inventor/VRMLnodes/SoVRMLPixelTexture.h>
#include <Inventor/VRMLnodes/SoVRMLShape.h>
#include <Inventor/VRMLnodes/SoVRMLText.h>
#include <Inventor/VRMLnodes/SoVRMLTextureCoordinate.h>
#include <Inventor/actions/SoCallbackAction.h>
#include <Inventor/nodes/SoAlphaTest.h>
#include <Inventor/nodes/SoComplexity.h>
#include <Inventor/nodes/SoSeparator.h>
#include <Inventor/nodes/SoShape.h>
#include <Inventor/nodes/SoTransparencyType.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int Border = 2;       // clear pixels round the letters, for smooth edges
constexpr int MaxWidth = 2048;  // a longer text is drawn with smaller letters
constexpr float Detail = 0.25f; // the curves the view draws near texts with
constexpr int Subpixels = 3;    // a pixel's edge is smoothed in this many steps each way

void addTriangle(void *data, SoCallbackAction *, const SoPrimitiveVertex *a,
                 const SoPrimitiveVertex *b, const SoPrimitiveVertex *c)
{
    auto *points = static_cast<std::vector<SbVec3f> *>(data);
    points->insert(points->end(), {a->getPoint(), b->getPoint(), c->getPoint()});
}

// The letters' triangles, in the text's coordinates (its plane is z = 0).
// They come from a copy, so that the text's own glyph cache stays as the
// view uses it.
std::vector<SbVec3f> letterTriangles(const SoVRMLText *text)
{
    auto *copy = new SoVRMLText;
    copy->string = text->string;
    copy->fontStyle = text->fontStyle;
    copy->length = text->length;
    copy->maxExtent = text->maxExtent;
    auto *root = new SoSeparator;
    root->ref();
    auto *complexity = new SoComplexity;
    complexity->value = Detail;
    root->addChild(complexity);
    root->addChild(copy);
    std::vector<SbVec3f> points;
    SoCallbackAction action;
    action.addTriangleCallback(SoShape::getClassTypeId(), addTriangle, &points);
    action.apply(root);
    root->unref();
    return points;
}

// A rectangle in the plane z = 0 facing +z, seen from both sides; with
// texture coordinates from (0, 0) to `mapped` when given.
SoVRMLIndexedFaceSet *rectangle(const SbVec2f &low, const SbVec2f &high,
                                const SbVec2f *mapped = nullptr)
{
    auto *coordinates = new SoVRMLCoordinate;
    const SbVec3f corners[] = {
        {low[0], low[1], 0}, {high[0], low[1], 0}, {high[0], high[1], 0}, {low[0], high[1], 0}};
    coordinates->point.setValues(0, 4, corners);
    static SoVRMLNormal *const normal = [] { // a text's letters face +z, lit as such
        auto *node = new SoVRMLNormal;
        node->ref(); // shared by all, kept
        node->vector.setValue(SbVec3f(0, 0, 1));
        return node;
    }();
    auto *face = new SoVRMLIndexedFaceSet;
    face->coord = coordinates;
    face->normal = normal;
    face->normalPerVertex = FALSE;
    face->solid = FALSE; // letters are seen from behind too
    const int32_t corner[] = {0, 1, 2, 3, -1};
    face->coordIndex.setValues(0, 5, corner);
    face->normalIndex.setValue(0);
    if (mapped) {
        auto *mapping = new SoVRMLTextureCoordinate;
        const SbVec2f where[] = {{0, 0}, {(*mapped)[0], 0}, *mapped, {0, (*mapped)[1]}};
        mapping->point.setValues(0, 4, where);
        face->texCoord = mapping;
        face->texCoordIndex.setValues(0, 5, corner);
    }
    return face;
}

// `shape` drawn where it stands among the opaque shapes, not sorted with
// the transparent ones at the end of each frame (which costs the view far
// more than the stand-in saves); pixels that are fully clear are not drawn
// at all, so what stands behind is not hidden.
SoNode *blendedInPlace(SoVRMLShape *shape)
{
    static SoGroup *const settings = [] { // shared by all, kept
        auto *group = new SoGroup;
        group->ref();
        // Without smaller copies of a texture (which Coin would make with
        // the processor each time): a picture is never shown at less than
        // half its size but as a blur of few pixels.
        auto *smooth = new SoComplexity;
        smooth->type.setIgnored(TRUE);
        smooth->value.setIgnored(TRUE);
        smooth->textureQuality = 0.4f;
        group->addChild(smooth);
        auto *blend = new SoTransparencyType;
        blend->value = SoTransparencyType::BLEND;
        group->addChild(blend);
        auto *clear = new SoAlphaTest;
        clear->function = SoAlphaTest::GREATER;
        clear->value = 0.0f;
        group->addChild(clear);
        return group;
    }();
    auto *node = new SoSeparator;
    node->addChild(settings);
    node->addChild(shape);
    return node;
}

const SoVRMLText *textOf(const SoVRMLShape *shape)
{
    const SoNode *geometry = shape->geometry.getValue();
    return geometry && geometry->isOfType(SoVRMLText::getClassTypeId())
               ? static_cast<const SoVRMLText *>(geometry)
               : nullptr;
}

SoNode *materialOf(const SoVRMLShape *shape)
{
    const auto *own = static_cast<const SoVRMLAppearance *>(shape->appearance.getValue());
    return own && own->isOfType(SoVRMLAppearance::getClassTypeId()) ? own->material.getValue()
                                                                    : nullptr;
}

int powerOfTwoAbove(int n)
{
    int power = 1;
    while (power < n)
        power *= 2;
    return power;
}

} // namespace

float lineHeight(const SoVRMLText *text)
{
    const SoNode *style = text->fontStyle.getValue();
    return style && style->isOfType(SoVRMLFontStyle::getClassTypeId())
               ? static_cast<const SoVRMLFontStyle *>(style)->size.getValue()
               : 1.0f;
}

SoNode *textPicture(const SoVRMLShape *text, int linePixels)
{
    const SoVRMLText *letters = textOf(text);
    if (!letters)
        return nullptr;
    const std::vector<SbVec3f> points = letterTriangles(letters);
    SbBox3f box;
    for (const SbVec3f &point : points)
        box.extendBy(point);
    float width = 0, height = 0, depth = 0;
    box.getSize(width, height, depth);
    if (box.isEmpty() || !(width > 0) || !(height > 0))
        return nullptr;

    // Pixels per unit: each line takes linePixels, unless the text would
    // then be larger than a texture may be.
    const float size = lineHeight(letters);
    if (!(size > 0))
        return nullptr;
    float scale = float(linePixels) / size;
    scale = std::min(scale, float(MaxWidth - 2 * Border) / width);
    scale = std::min(scale, float(MaxWidth - 2 * Border) / height);
    const int usedWidth = int(std::ceil(width * scale)) + 2 * Border;
    const int usedHeight = int(std::ceil(height * scale)) + 2 * Border;
    const int imageWidth = powerOfTwoAbove(usedWidth);
    const int imageHeight = powerOfTwoAbove(usedHeight);

    // The triangles drawn sharp on a finer grid, then averaged: smooth
    // edges without seams between neighbours, at a fraction of the cost of
    // smoothing each edge. Row 0 is the bottom, as a texture image's is.
    const SbVec3f &low = box.getMin();
    QImage fine(usedWidth * Subpixels, usedHeight * Subpixels, QImage::Format_Grayscale8);
    fine.fill(0);
    {
        QPainter painter(&fine);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        const float toFine = scale * Subpixels;
        for (size_t i = 0; i + 2 < points.size(); i += 3) {
            QPointF corner[3];
            for (int k = 0; k < 3; ++k)
                corner[k] = QPointF((points[i + k][0] - low[0]) * toFine + Border * Subpixels,
                                    (points[i + k][1] - low[1]) * toFine + Border * Subpixels);
            painter.drawConvexPolygon(corner, 3);
        }
    }
    const QImage coverage =
        fine.scaled(usedWidth, usedHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // Intensity and alpha: white letters the material colours, clear round them.
    // (White even where clear, so that a filtered edge is not darkened.)
    // Partly covered pixels are made more opaque: the letters drawn as
    // triangles have no smoothed edges, and thin strokes would otherwise
    // look fainter as a picture than as letters.
    unsigned char opacity[256];
    for (int c = 0; c < 256; ++c)
        opacity[c] = static_cast<unsigned char>(std::lround(255 * std::sqrt(c / 255.0)));
    std::vector<unsigned char> pixels(size_t(imageWidth) * size_t(imageHeight) * 2, 0);
    for (size_t i = 0; i < pixels.size(); i += 2)
        pixels[i] = 255;
    for (int y = 0; y < usedHeight; ++y) {
        const uchar *row = coverage.constScanLine(y);
        unsigned char *out = pixels.data() + size_t(y) * size_t(imageWidth) * 2;
        for (int x = 0; x < usedWidth; ++x)
            out[2 * x + 1] = opacity[row[x]];
    }
    auto *texture = new SoVRMLPixelTexture;
    texture->image.setValue(SbVec2s(short(imageWidth), short(imageHeight)), 2, pixels.data());
    texture->repeatS = FALSE;
    texture->repeatT = FALSE;

    // The rectangle the used part of the image covers, in the text's plane.
    const SbVec2f from(low[0] - Border / scale, low[1] - Border / scale);
    const SbVec2f to = from + SbVec2f(float(usedWidth), float(usedHeight)) / scale;
    const SbVec2f mapped(float(usedWidth) / float(imageWidth),
                         float(usedHeight) / float(imageHeight));
    auto *appearance = new SoVRMLAppearance;
    appearance->material = materialOf(text);
    appearance->texture = texture;
    auto *shape = new SoVRMLShape;
    shape->appearance = appearance;
    shape->geometry = rectangle(from, to, &mapped);
    return blendedInPlace(shape);
}

SoNode *textSmudge(const SoVRMLShape *text, float left, float right)
{
    const SoVRMLText *letters = textOf(text);
    const float size = letters ? lineHeight(letters) : 0;
    if (!(right > left) || !(size > 0))
        return nullptr;
    const int lines = std::max(1, letters->string.getNum());
    auto *material = new SoVRMLMaterial;
    if (const SoNode *own = materialOf(text); own && own->isOfType(SoVRMLMaterial::getClassTypeId()))
        material->copyFieldValues(own);
    material->transparency = 1 - (1 - material->transparency.getValue()) / 2;
    auto *appearance = new SoVRMLAppearance;
    appearance->material = material;
    auto *shape = new SoVRMLShape;
    shape->appearance = appearance;
    // The lines stand on y = 0 and below, a line's letters mostly two
    // thirds of its height.
    shape->geometry = rectangle(SbVec2f(left, -size * float(lines - 1)), SbVec2f(right, size * 2 / 3));
    return blendedInPlace(shape);
}
