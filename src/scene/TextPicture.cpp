#include "scene/TextPicture.h"

#include <QImage>
#include <QPainter>

#include <Inventor/SbBox3f.h>
#include <Inventor/SoPrimitiveVertex.h>
#include <Inventor/VRMLnodes/SoVRMLAppearance.h>
#include <Inventor/VRMLnodes/SoVRMLCoordinate.h>
#include <Inventor/VRMLnodes/SoVRMLFontStyle.h>
#include <Inventor/VRMLnodes/SoVRMLIndexedFaceSet.h>
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
    const SoNode *geometry = text->geometry.getValue();
    if (!geometry || !geometry->isOfType(SoVRMLText::getClassTypeId()))
        return nullptr;
    const std::vector<SbVec3f> points = letterTriangles(static_cast<const SoVRMLText *>(geometry));
    SbBox3f box;
    for (const SbVec3f &point : points)
        box.extendBy(point);
    float width = 0, height = 0, depth = 0;
    box.getSize(width, height, depth);
    if (box.isEmpty() || !(width > 0) || !(height > 0))
        return nullptr;

    // Pixels per unit: each line takes linePixels, unless the text would
    // then be larger than a texture may be.
    const float size = lineHeight(static_cast<const SoVRMLText *>(geometry));
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
    const float x0 = low[0] - Border / scale;
    const float y0 = low[1] - Border / scale;
    const float x1 = x0 + float(usedWidth) / scale;
    const float y1 = y0 + float(usedHeight) / scale;
    const float s1 = float(usedWidth) / float(imageWidth);
    const float t1 = float(usedHeight) / float(imageHeight);
    auto *coordinates = new SoVRMLCoordinate;
    const SbVec3f corners[] = {{x0, y0, 0}, {x1, y0, 0}, {x1, y1, 0}, {x0, y1, 0}};
    coordinates->point.setValues(0, 4, corners);
    auto *mapping = new SoVRMLTextureCoordinate;
    const SbVec2f where[] = {{0, 0}, {s1, 0}, {s1, t1}, {0, t1}};
    mapping->point.setValues(0, 4, where);
    auto *normal = new SoVRMLNormal; // a text's letters face +z, lit as such
    normal->vector.setValue(SbVec3f(0, 0, 1));
    auto *face = new SoVRMLIndexedFaceSet;
    face->coord = coordinates;
    face->texCoord = mapping;
    face->normal = normal;
    face->normalPerVertex = FALSE;
    face->solid = FALSE; // letters are seen from behind too
    const int32_t corner[] = {0, 1, 2, 3, -1};
    face->coordIndex.setValues(0, 5, corner);
    face->texCoordIndex.setValues(0, 5, corner);
    face->normalIndex.setValue(0);

    auto *appearance = new SoVRMLAppearance;
    if (const auto *own = static_cast<const SoVRMLAppearance *>(text->appearance.getValue());
        own && own->isOfType(SoVRMLAppearance::getClassTypeId()))
        appearance->material = own->material.getValue();
    appearance->texture = texture;
    auto *shape = new SoVRMLShape;
    shape->appearance = appearance;
    shape->geometry = face;
    // Drawn where it stands among the opaque shapes, not sorted with the
    // transparent ones at the end of each frame (which costs the view far
    // more than the picture saves); the clear pixels round the letters are
    // not drawn at all, so what stands behind is not hidden.
    auto *picture = new SoSeparator;
    // Without smaller copies of the image (which Coin would make with the
    // processor each time): a picture is never shown at less than half its
    // size, but for far texts that are a blur of few pixels anyway.
    auto *smooth = new SoComplexity;
    smooth->type.setIgnored(TRUE);
    smooth->value.setIgnored(TRUE);
    smooth->textureQuality = 0.4f;
    picture->addChild(smooth);
    auto *blend = new SoTransparencyType;
    blend->value = SoTransparencyType::BLEND;
    picture->addChild(blend);
    auto *clear = new SoAlphaTest;
    clear->function = SoAlphaTest::GREATER;
    clear->value = 0.0f;
    picture->addChild(clear);
    picture->addChild(shape);
    return picture;
}
