#pragma once
// A main window on the scripted platform fakes, in a throw-away program
// folder, at a known size. Shared by the tst_ui_* tests of the main window.

#include "EditorControls.h"
#include "TestSupport.h"

#include "core/model/WorldFile.h"
#include "editor/palette/ColorSwatch.h"
#include "editor/palette/ExistingObjects.h"
#include "editor/platform/FakePlatform.h"

#include <QtTest>
#include <QtWidgets>

#include <cmath>
#include <functional>
#include <memory>

// While it lives, runs act on every window of type T as it is shown, once
// the window's own event loop (a modal dialog's exec()) is running.
template <typename T> class OnShown : public QObject {
public:
    explicit OnShown(std::function<void(T *)> act) : m_act(std::move(act))
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (auto *window = qobject_cast<T *>(watched); window && event->type() == QEvent::Show)
            QMetaObject::invokeMethod(
                this, [this, w = QPointer<T>(window)] { if (w) m_act(w); }, Qt::QueuedConnection);
        return false;
    }

private:
    std::function<void(T *)> m_act;
};

// The caption as the window manager shows it: "*" for the "[*]" mark of
// unsaved changes, nothing for it otherwise.
inline QString shownCaption(QWidget &window)
{
    return window.windowHandle() ? window.windowHandle()->title() : QString();
}

struct EditorHarness {
    FakePlatform fake;
    QTemporaryDir folder; // the program folder
    QString toGo;         // set: the program folder is never written, ToGo is here
    QString userObjects;  // set: the user's library is here
    std::unique_ptr<MainEditor> editor;

    // A normal (not maximised) window of this outer size in pixels, at 0, 0.
    explicit EditorHarness(QSize size = QSize(1000, 700))
    {
        fake.settings.values = {{"WindowState", "0"},
                                {"Top", "0"},
                                {"Left", "0"},
                                {"Width", QString::number(size.width() * 15)},
                                {"Height", QString::number(size.height() * 15)}};
    }

    MainEditor &start(const QString &commandLine = QString())
    {
        ProgramFolders folders =
            toGo.isEmpty() ? ProgramFolders(folder.path()) : ProgramFolders(folder.path(), toGo);
        folders.userObjects = userObjects;
        editor = std::make_unique<MainEditor>(fake.platform(), folders, commandLine);
        editor->runLoadSequence();
        editor->show();
        if (!QTest::qWaitForWindowExposed(editor.get()))
            qWarning("the main window was not exposed");
        return *editor;
    }

    QString path(const QString &name) const { return folder.filePath(name); }

    QString writeWorld(const QString &name, const World &world,
                       ScrollFractions fractions = {}) const
    {
        if (const Status saved = WorldFile::save(path(name), world, fractions); !saved)
            qWarning("%s", qPrintable(saved.error));
        return path(name);
    }

    void writeText(const QString &name, const QByteArray &bytes) const
    {
        if (!writeFile(path(name), bytes))
            qWarning("cannot write %s", qPrintable(path(name)));
    }

    // The whole map, one image pixel per canvas pixel.
    QImage mapImage() const
    {
        return Picture1(*editor)->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    QPoint pixelOf(double x, double y) const
    {
        const QPointF p = Picture1(*editor)->mapToPixels().map(QPointF(x, y));
        return QPoint(int(std::lround(p.x())), int(std::lround(p.y())));
    }
};

// A world with one item of each kind; its object is not in any library.
inline World sampleWorld()
{
    World w;
    w.Objects[0] = ObjectInfo{"Oak", 30, 30, 0, {}, {}};
    w.Cubes[0] = CubeInfo{"Wall", 10, 40, 50, 60, 255};
    w.Pictures[0] = PictureInfo{70, 20, 0, 10, 5, 0, false, "/pictures/sign.gif", {}, {}};
    w.Texts[0] = TextInfo{"Hello", 70, 70, 0, 0, "Text (Big)", false, {}, {}, {}};
    return w;
}
