#pragma once
// Off-screen rendering of a VRML97 file with Coin3D into a QImage.
//
// Coin's own off-screen renderer does not work with Mesa under a virtual X
// server, so the rendering goes into a Qt-made framebuffer object with a
// Qt-made context current; Coin only issues the GL calls.

#include "scene/VrmlScene.h"

#include <QImage>
#include <QString>

#include <optional>

struct CameraSetup {
    enum class Mode {
        ViewAll,   // fit the whole scene, seen from viewDirection
        Viewpoint, // the file's first Viewpoint
        Explicit,  // position with lookAt or orientation
    };
    Mode mode = Mode::ViewAll;
    SbVec3f viewDirection{1.0f, 0.7f, 1.6f}; // from the scene towards the camera
    SbVec3f position{0, 0.5f, 10};
    std::optional<SbVec3f> lookAt;
    std::optional<SbRotation> orientation;
    SbVec3f up{0, 1, 0};
    std::optional<float> fieldOfView; // radians; Viewpoint's own, else 0.785398
};

struct RenderOptions {
    CameraSetup camera;
    int width = 800;
    int height = 600;
    SbVec3f background{0.78f, 0.80f, 0.84f}; // shows where no Background node draws
    bool floor = false;                      // a checkered floor at y = 0, squares of 0.25 unit
    bool scaleFigure = false;                // a 6-foot (0.5 unit) figure beside the scene
    bool headlight = false;                  // add the headlight even when the file has lights
};

struct [[nodiscard]] RenderResult {
    QImage image;
    QString error;
};

// Needs a QGuiApplication. Creates its own context and surface on each call.
RenderResult renderScene(const Scene &scene, const RenderOptions &options);
