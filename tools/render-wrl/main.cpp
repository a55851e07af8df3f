// render-wrl: renders a VRML97 file off-screen into a PNG, for looking at the
// object library, the textures and exported worlds without a viewer.
// Needs an X server; run it under xvfb-run (see tools/README.md).

#include "WrlRenderer.h"

#include <QCommandLineParser>
#include <QGuiApplication>

#include <cstdio>
#include <optional>

namespace {

std::optional<std::vector<float>> numbers(const QString &text, int count)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != count)
        return std::nullopt;
    std::vector<float> values;
    for (const QString &part : parts) {
        bool ok = false;
        values.push_back(part.trimmed().toFloat(&ok));
        if (!ok)
            return std::nullopt;
    }
    return values;
}

std::optional<SbVec3f> vector3(const QString &text)
{
    const auto v = numbers(text, 3);
    if (!v)
        return std::nullopt;
    return SbVec3f((*v)[0], (*v)[1], (*v)[2]);
}

int fail(const QString &message)
{
    std::fprintf(stderr, "render-wrl: %s\n", qPrintable(message));
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    setCoinSurfaceFormat();
    QGuiApplication app(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Renders a VRML97 file to a PNG picture. Without a camera option the whole "
                       "scene is fitted into view, seen from the front right and above."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("input"), QStringLiteral("The .wrl file."));
    parser.addPositionalArgument(QStringLiteral("output"),
                                 QStringLiteral("The .png file to write."));
    const QCommandLineOption sizeOption(QStringLiteral("size"),
                                        QStringLiteral("Picture size, default 800x600."),
                                        QStringLiteral("WxH"), QStringLiteral("800x600"));
    const QCommandLineOption viewpointOption(QStringLiteral("viewpoint"),
                                             QStringLiteral("Use the file's first Viewpoint."));
    const QCommandLineOption positionOption(
        QStringLiteral("position"), QStringLiteral("Camera position."), QStringLiteral("x,y,z"));
    const QCommandLineOption lookAtOption(
        QStringLiteral("look-at"),
        QStringLiteral("Point the camera at this point (with --position)."),
        QStringLiteral("x,y,z"));
    const QCommandLineOption orientationOption(
        QStringLiteral("orientation"),
        QStringLiteral("Camera orientation as axis and angle in radians."),
        QStringLiteral("x,y,z,a"));
    const QCommandLineOption upOption(QStringLiteral("up"),
                                      QStringLiteral("Up vector for --look-at, default 0,1,0."),
                                      QStringLiteral("x,y,z"));
    const QCommandLineOption fromOption(
        QStringLiteral("from"),
        QStringLiteral("View direction for the fitted view, default 1,0.7,1.6."),
        QStringLiteral("x,y,z"));
    const QCommandLineOption fovOption(QStringLiteral("fov"),
                                       QStringLiteral("Field of view in radians."),
                                       QStringLiteral("radians"));
    const QCommandLineOption pathOption(
        QStringLiteral("path"),
        QStringLiteral("Another folder to look for textures in (repeatable)."),
        QStringLiteral("folder"));
    const QCommandLineOption backgroundOption(QStringLiteral("background"),
                                              QStringLiteral("Clear colour, 0..1 each."),
                                              QStringLiteral("r,g,b"));
    const QCommandLineOption floorOption(
        QStringLiteral("floor"),
        QStringLiteral("Add a checkered floor at y = 0 (squares of 0.25 unit)."));
    const QCommandLineOption figureOption(
        QStringLiteral("figure"),
        QStringLiteral("Add a 6-foot (0.5 unit) figure beside the scene."));
    const QCommandLineOption headlightOption(
        QStringLiteral("headlight"),
        QStringLiteral("Add a headlight even when the file has lights."));
    parser.addOptions({sizeOption, viewpointOption, positionOption, lookAtOption, orientationOption,
                       upOption, fromOption, fovOption, pathOption, backgroundOption, floorOption,
                       figureOption, headlightOption});
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    if (args.size() != 2)
        return fail(QStringLiteral("give the input .wrl and the output .png (see --help)"));

    RenderOptions options;
    const QStringList size = parser.value(sizeOption).split(QLatin1Char('x'));
    bool wOk = false, hOk = false;
    if (size.size() == 2) {
        options.width = size[0].toInt(&wOk);
        options.height = size[1].toInt(&hOk);
    }
    if (!wOk || !hOk || options.width < 1 || options.height < 1 || options.width > 8192 ||
        options.height > 8192)
        return fail(QStringLiteral("--size must be WxH, for example 800x600"));

    CameraSetup &camera = options.camera;
    struct VectorOption {
        const QCommandLineOption &option;
        std::optional<SbVec3f> *target;
    };
    std::optional<SbVec3f> position, lookAt, up, from, background;
    for (const VectorOption &v :
         {VectorOption{positionOption, &position}, VectorOption{lookAtOption, &lookAt},
          VectorOption{upOption, &up}, VectorOption{fromOption, &from},
          VectorOption{backgroundOption, &background}}) {
        if (!parser.isSet(v.option))
            continue;
        *v.target = vector3(parser.value(v.option));
        if (!*v.target)
            return fail(QStringLiteral("--%1 needs three numbers separated by commas")
                            .arg(v.option.names().first()));
    }
    if (parser.isSet(orientationOption)) {
        const auto v = numbers(parser.value(orientationOption), 4);
        if (!v)
            return fail(QStringLiteral("--orientation needs four numbers separated by commas"));
        camera.orientation = SbRotation(SbVec3f((*v)[0], (*v)[1], (*v)[2]), (*v)[3]);
    }
    if (parser.isSet(fovOption)) {
        bool ok = false;
        camera.fieldOfView = parser.value(fovOption).toFloat(&ok);
        if (!ok || *camera.fieldOfView <= 0 || *camera.fieldOfView >= 3.1f)
            return fail(QStringLiteral("--fov needs an angle in radians between 0 and 3.1"));
    }
    if (up)
        camera.up = *up;
    if (from)
        camera.viewDirection = *from;
    if (background)
        options.background = *background;

    if (parser.isSet(viewpointOption)) {
        if (position || lookAt || camera.orientation)
            return fail(QStringLiteral("--viewpoint cannot be combined with a camera position"));
        camera.mode = CameraSetup::Mode::Viewpoint;
    } else if (position) {
        camera.mode = CameraSetup::Mode::Explicit;
        camera.position = *position;
        camera.lookAt = lookAt;
    } else if (lookAt || camera.orientation) {
        return fail(QStringLiteral("--look-at and --orientation need --position"));
    }
    options.floor = parser.isSet(floorOption);
    options.scaleFigure = parser.isSet(figureOption);
    options.headlight = parser.isSet(headlightOption);

    const Scene scene = Scene::read(args[0], parser.values(pathOption));
    for (const QString &warning : scene.warnings())
        std::fprintf(stderr, "%s: warning: %s\n", qPrintable(args[0]), qPrintable(warning));
    for (const QString &error : scene.errors())
        std::fprintf(stderr, "%s: error: %s\n", qPrintable(args[0]), qPrintable(error));
    if (!scene.root())
        return 1;

    const RenderResult result = renderScene(scene, options);
    if (!result.error.isEmpty())
        return fail(QStringLiteral("%1: %2").arg(args[0], result.error));
    if (!result.image.save(args[1], "PNG"))
        return fail(QStringLiteral("cannot write %1").arg(args[1]));
    // A picture was written, but a file with read errors is still reported as failed.
    return scene.errors().isEmpty() ? 0 : 1;
}
