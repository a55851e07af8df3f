// The pictures of the library's objects: drawn off-screen by lotwright-cli
// icons at the first start and kept in the cache; at the next start every
// one comes from the cache before the request returns, nothing drawn; an
// object whose file changed is drawn anew. A drawer that is missing, fails
// or crashes leaves the pictures it did not give missing and is reported
// once; after a crash the objects past the one it crashed on are drawn.

#include "ModelFiles.h"
#include "TestSupport.h"

#include "core/library/ObjectLibrary.h"
#include "scene/ObjectIcons.h"
#include "scene/VrmlScene.h"

#include <QtTest>

namespace {

using Icons = QMap<QString, QImage>; // by object file

// The pictures a request gives, and whether it still draws when it returns.
struct Start {
    Icons icons;
    bool drawing = false;
};

Start start(const QString &cache, const std::vector<ShapeInfo> &shapes, const QString &program,
            const QString &drawer = BIN_DIR "/lotwright-cli")
{
    Start started;
    ObjectIcons icons(cache, drawer);
    QObject::connect(&icons, &ObjectIcons::iconReady, [&](const QString &path, const QImage &icon) {
        started.icons.insert(path, icon);
    });
    QSignalSpy finished(&icons, &ObjectIcons::finished);
    icons.request(shapes, program);
    started.drawing = icons.busy();
    if (finished.isEmpty() && !finished.wait(60000))
        qWarning("the pictures were not finished");
    return started;
}

// A program folder with the three objects of the golden library.
std::vector<ShapeInfo> goldenLibrary(const QString &program)
{
    if (!copyFiles(TESTS_DATA_DIR "/golden/Objects", program + "/Objects") ||
        !copyFiles(SOURCE_DIR "/data/Textures", program + "/Textures"))
        qWarning("cannot copy the library");
    return Init_Shapes(program).Shapes;
}

} // namespace

class TestGlIcons : public QObject {
    Q_OBJECT

private slots:
    void cachedAcrossStarts()
    {
        QTemporaryDir root;
        const QString program = root.filePath("program"), cache = root.filePath("cache");
        const std::vector<ShapeInfo> shapes = goldenLibrary(program);
        QCOMPARE(shapes.size(), size_t(3));

        const Start first = start(cache, shapes, program);
        QVERIFY(first.drawing);
        QCOMPARE(first.icons.size(), 3);
        for (const QImage &icon : first.icons) {
            QCOMPARE(icon.size(), QSize(ObjectIcons::Size, ObjectIcons::Size));
            // The object in the middle, on a transparent ground.
            QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
            QCOMPARE(qAlpha(icon.pixel(ObjectIcons::Size / 2, ObjectIcons::Size / 2)), 255);
        }
        QCOMPARE(QDir(cache).entryList({"*.png"}, QDir::Files).size(), 3);

        const Start second = start(cache, shapes, program);
        QVERIFY(!second.drawing);
        QCOMPARE(second.icons.keys(), first.icons.keys());
        for (const QString &path : first.icons.keys())
            QCOMPARE(second.icons[path].convertToFormat(QImage::Format_ARGB32),
                     first.icons[path].convertToFormat(QImage::Format_ARGB32));

        const QString table = program + "/Objects/Table.wrl";
        QVERIFY(writeFile(table, readBytes(table) + "\r\n# changed\r\n"));
        QVERIFY(start(cache, shapes, program).drawing);
        QCOMPARE(QDir(cache).entryList({"*.png"}, QDir::Files).size(), 4);
    }

    void failingDrawer_data()
    {
        QTest::addColumn<QByteArray>("script"); // the drawer's; empty: there is none
        QTest::addColumn<int>("icons");
        QTest::newRow("missing") << QByteArray() << 0;
        QTest::newRow("failing") << QByteArray("echo 'no OpenGL here' >&2; exit 1") << 0;
        // It draws its first object ($4) and crashes on the next: of three
        // objects the first and the last are drawn, by two drawers.
        QTest::newRow("crashing") << QByteArray(
                                         "printf '%s\\t%s\\n' \"$PICTURE\" \"$4\"; kill -SEGV $$")
                                  << 2;
    }

    void failingDrawer()
    {
        QFETCH(QByteArray, script);
        QFETCH(int, icons);
        QTemporaryDir root;
        const QString program = root.filePath("program"), drawer = root.filePath("drawer");
        const std::vector<ShapeInfo> shapes = goldenLibrary(program);
        QVERIFY(writeFile(root.filePath("picture.png"), pngOf(Qt::red)));
        if (!script.isEmpty()) {
            QVERIFY(writeFile(drawer, "#!/bin/sh\nPICTURE='" +
                                          root.filePath("picture.png").toUtf8() + "'\n" + script +
                                          "\n"));
            QVERIFY(QFile::setPermissions(drawer, QFile::ReadOwner | QFile::ExeOwner));
        }
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("pictures cannot be drawn"));
        QTest::failOnWarning(QRegularExpression("."));
        const Start started = start(root.filePath("cache"), shapes, program, drawer);
        QCOMPARE(started.icons.size(), icons);
    }
};

int main(int argc, char *argv[])
{
    setCoinSurfaceFormat(); // before the application, as the editor does
    QGuiApplication app(argc, argv);
    TestGlIcons test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_gl_icons.moc"
