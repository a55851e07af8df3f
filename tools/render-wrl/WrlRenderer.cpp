#include "WrlRenderer.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>

#include <Inventor/SbViewportRegion.h>
#include <Inventor/actions/SoGLRenderAction.h>
#include <Inventor/elements/SoGLCacheContextElement.h>
#include <Inventor/nodes/SoCoordinate3.h>
#include <Inventor/nodes/SoCylinder.h>
#include <Inventor/nodes/SoDirectionalLight.h>
#include <Inventor/nodes/SoFaceSet.h>
#include <Inventor/nodes/SoMaterial.h>
#include <Inventor/nodes/SoPerspectiveCamera.h>
#include <Inventor/nodes/SoSeparator.h>
#include <Inventor/nodes/SoSphere.h>
#include <Inventor/nodes/SoTexture2.h>
#include <Inventor/nodes/SoTextureCoordinate2.h>
#include <Inventor/nodes/SoTranslation.h>

#include <algorithm>
#include <cmath>

namespace {

// A 2 x 2 checker texture repeated over a square at y = 0.
SoSeparator *makeFloor(const SbBox3f &box)
{
    const float half = std::max(0.4f, 0.75f * std::max(box.getMax()[0] - box.getMin()[0],
                                                       box.getMax()[2] - box.getMin()[2]));
    SbVec3f centre = box.isEmpty() ? SbVec3f(0, 0, 0) : box.getCenter();
    const float cx = std::round(centre[0] * 2) / 2;
    const float cz = std::round(centre[2] * 2) / 2;

    auto *floor = new SoSeparator;
    auto *material = new SoMaterial;
    material->diffuseColor.setValue(1, 1, 1);
    floor->addChild(material);
    auto *texture = new SoTexture2;
    // Two squares a side; enough pixels that filtering leaves sharp edges.
    constexpr int Pixels = 32;
    unsigned char checker[Pixels * Pixels * 3];
    for (int y = 0; y < Pixels; ++y)
        for (int x = 0; x < Pixels; ++x)
            for (int c = 0; c < 3; ++c)
                checker[(y * Pixels + x) * 3 + c] =
                    ((x < Pixels / 2) == (y < Pixels / 2)) ? 215 : 185;
    texture->image.setValue(SbVec2s(Pixels, Pixels), 3, checker);
    floor->addChild(texture);
    auto *coords = new SoCoordinate3;
    coords->point.set1Value(0, cx - half, 0, cz + half);
    coords->point.set1Value(1, cx + half, 0, cz + half);
    coords->point.set1Value(2, cx + half, 0, cz - half);
    coords->point.set1Value(3, cx - half, 0, cz - half);
    floor->addChild(coords);
    // One texture repeat covers 0.5 unit, so each square is 0.25 unit (3 feet).
    const float repeats = 2 * half / 0.5f;
    auto *texCoords = new SoTextureCoordinate2;
    texCoords->point.set1Value(0, 0, 0);
    texCoords->point.set1Value(1, repeats, 0);
    texCoords->point.set1Value(2, repeats, repeats);
    texCoords->point.set1Value(3, 0, repeats);
    floor->addChild(texCoords);
    floor->addChild(new SoFaceSet);
    return floor;
}

// A plain grey figure 0.5 unit (6 feet) tall, to judge sizes by.
SoSeparator *makeScaleFigure(const SbBox3f &box)
{
    auto *figure = new SoSeparator;
    auto *material = new SoMaterial;
    material->diffuseColor.setValue(0.45f, 0.45f, 0.5f);
    figure->addChild(material);
    const float x = box.isEmpty() ? 0.3f : box.getMax()[0] + 0.15f;
    const float z = box.isEmpty() ? 0.0f : box.getCenter()[2];
    auto *body = new SoTranslation;
    body->translation.setValue(x, 0.21f, z);
    figure->addChild(body);
    auto *cylinder = new SoCylinder;
    cylinder->radius = 0.06f;
    cylinder->height = 0.42f;
    figure->addChild(cylinder);
    auto *head = new SoTranslation;
    head->translation.setValue(0, 0.25f, 0);
    figure->addChild(head);
    auto *sphere = new SoSphere;
    sphere->radius = 0.05f;
    figure->addChild(sphere);
    return figure;
}

// Everything the file needs around it: camera, optional light, helpers.
// The result is referenced; the caller unreferences it.
SoSeparator *buildStage(const Scene &scene, const RenderOptions &options, QString &error)
{
    const SbViewportRegion viewport(short(options.width), short(options.height));
    const SbBox3f box = boundingBox(scene.root());

    auto *stage = new SoSeparator;
    stage->ref();
    auto *camera = new SoPerspectiveCamera;
    stage->addChild(camera);
    camera->aspectRatio = float(options.width) / float(options.height);
    camera->heightAngle = options.camera.fieldOfView.value_or(0.785398f);

    auto *content = new SoSeparator;
    if (options.floor)
        content->addChild(makeFloor(box));
    if (options.scaleFigure)
        content->addChild(makeScaleFigure(box));
    content->addChild(scene.root());

    const CameraSetup &setup = options.camera;
    switch (setup.mode) {
    case CameraSetup::Mode::ViewAll: {
        SbVec3f direction = setup.viewDirection;
        direction.normalize();
        camera->position = direction;
        camera->pointAt(SbVec3f(0, 0, 0), setup.up);
        camera->viewAll(content, viewport);
        break;
    }
    case CameraSetup::Mode::Viewpoint: {
        const std::optional<Viewpoint> viewpoint = firstViewpoint(scene.root());
        if (!viewpoint) {
            error = QStringLiteral("the file has no Viewpoint");
            stage->unref();
            return nullptr;
        }
        camera->position = viewpoint->position;
        camera->orientation = viewpoint->orientation;
        // The smaller view angle, as Coin takes it.
        camera->heightAngle = setup.fieldOfView.value_or(viewpoint->fieldOfView);
        fitClippingPlanes(camera, box);
        break;
    }
    case CameraSetup::Mode::Explicit:
        camera->position = setup.position;
        if (setup.lookAt)
            camera->pointAt(*setup.lookAt, setup.up);
        else if (setup.orientation)
            camera->orientation = *setup.orientation;
        fitClippingPlanes(camera, box);
        break;
    }
    if (options.headlight || !scene.hasLights()) {
        // A key light from behind the viewer's right shoulder and a weaker
        // one from straight above, so that no side stays black.
        auto *key = new SoDirectionalLight;
        SbVec3f direction;
        camera->orientation.getValue().multVec(SbVec3f(-0.35f, -0.45f, -1.0f), direction);
        key->direction = direction;
        key->intensity = 0.85f;
        stage->addChild(key);
        auto *top = new SoDirectionalLight;
        top->direction.setValue(0.2f, -1.0f, -0.1f);
        top->intensity = 0.45f;
        stage->addChild(top);
    }
    stage->addChild(content);
    return stage;
}

struct GlContext {
    QOffscreenSurface surface;
    QOpenGLContext context;
};

} // namespace

RenderResult renderScene(const Scene &scene, const RenderOptions &options)
{
    if (!scene.root())
        return {{}, QStringLiteral("nothing to render")};

    GlContext gl;
    gl.context.setFormat(QSurfaceFormat::defaultFormat());
    if (!gl.context.create())
        return {{}, QStringLiteral("cannot create an OpenGL context")};
    gl.surface.setFormat(gl.context.format());
    gl.surface.create();
    if (!gl.surface.isValid() || !gl.context.makeCurrent(&gl.surface))
        return {{}, QStringLiteral("cannot make the OpenGL context current")};

    QString error;
    SoSeparator *stage = buildStage(scene, options, error);
    if (!stage)
        return {{}, error};

    RenderResult result;
    {
        QOpenGLFramebufferObjectFormat format;
        format.setAttachment(QOpenGLFramebufferObject::CombinedDepthStencil);
        format.setSamples(4);
        QOpenGLFramebufferObject fbo(options.width, options.height, format);
        if (!fbo.isValid() || !fbo.bind()) {
            result.error = QStringLiteral("cannot create a %1 x %2 framebuffer")
                               .arg(options.width)
                               .arg(options.height);
        } else {
            QOpenGLFunctions *f = gl.context.functions();
            f->glViewport(0, 0, options.width, options.height);
            f->glClearColor(options.background[0], options.background[1], options.background[2], 1);
            f->glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
            f->glEnable(GL_DEPTH_TEST);

            SoGLRenderAction action(SbViewportRegion(short(options.width), short(options.height)));
            action.setCacheContext(SoGLCacheContextElement::getUniqueCacheContext());
            action.setTransparencyType(SoGLRenderAction::SORTED_OBJECT_BLEND);
            action.apply(stage);
            f->glFinish();
            fbo.release();
            result.image = fbo.toImage().convertToFormat(QImage::Format_RGB32);
        }
    }
    stage->unref();
    gl.context.doneCurrent();
    return result;
}
