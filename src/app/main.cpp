// The editor: splash window first, then the main window with its load sequence.

#include "editor/dialogs/Artwork.h"
#include "editor/window/MainEditor.h"
#include "editor/dialogs/frmSplash.h"
#include "scene/VrmlScene.h"
#include "core/files/FileServices.h"
#include "editor/platform/QtPlatform.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // The preview's OpenGL context must be asked for before the application exists.
    setCoinSurfaceFormat();

    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Lotwright"));
    app.setWindowIcon(programIcon());

    QtPlatform platform;
    const QString commandLine = app.arguments().mid(1).join(QLatin1Char(' '));
    MainEditor editor(platform.platform(), Files::programFolder(), commandLine);

    // Between the splash closing and the main window showing no window may be
    // visible (or only a start-up message): that must not end the program.
    app.setQuitOnLastWindowClosed(false);
    auto *splash = new frmSplash; // deletes itself when it closes
    QObject::connect(splash, &frmSplash::finished, &editor, [&app, &editor] {
        editor.runLoadSequence();
        editor.show();
        app.setQuitOnLastWindowClosed(true);
    });
    splash->show();
    return app.exec();
}
