// The pictures of the library's objects: drawn off-screen at the first start
// and kept in the cache; at the next start every one comes from the cache
// before the request returns, nothing drawn; an object whose file changed is
// drawn anew.

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

Start start(const QString &cache, const std::vector<ShapeInfo> &shapes, const QString &program)
{
    Start started;
    ObjectIcons icons(cache);
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

} // namespace

class TestGlIcons : public QObject {
    Q_OBJECT

private slots:
    void cachedAcrossStarts()
    {
        QTemporaryDir root;
        const QString program = root.filePath("program"), cache = root.filePath("cache");
        QVERIFY(copyFiles(TESTS_DATA_DIR "/golden/Objects", program + "/Objects"));
        QVERIFY(copyFiles(SOURCE_DIR "/data/Textures", program + "/Textures"));
        const std::vector<ShapeInfo> shapes = Init_Shapes(program).Shapes;
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
};

int main(int argc, char *argv[])
{
    setCoinSurfaceFormat(); // before the application, as the editor does
    QGuiApplication app(argc, argv);
    TestGlIcons test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_gl_icons.moc"
