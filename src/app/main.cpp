// The editor: splash window first, then the main window with its load sequence.

#include "editor/dialogs/Artwork.h"
#include "editor/window/MainEditor.h"
#include "editor/dialogs/frmSplash.h"
#include "scene/VrmlScene.h"
#include "core/files/ProgramFolders.h"
#include "editor/platform/QtPlatform.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char *argv[])
{
    // Help needs no window, nor a display.
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs("usage: lotwright [WORLD.lwf]\n\n"
                   "Starts the Lotwright editor with the world given (a path or a file://\n"
                   "address), or with a new world.\n\n",
                   stdout);
        std::fputs(programFoldersHelp().toLocal8Bit().constData(), stdout);
        return 0;
    }

    // The preview's OpenGL context must be asked for before the application exists.
    setCoinSurfaceFormat();

    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Lotwright"));
    app.setWindowIcon(programIcon());
    // Lets the desktop match the windows to the installed desktop entry.
    app.setDesktopFileName(QStringLiteral("io.github.lotwright.Lotwright"));

    QtPlatform platform;
    const QString commandLine = app.arguments().mid(1).join(QLatin1Char(' '));
    MainEditor editor(platform.platform(), programFolders(), commandLine);

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
