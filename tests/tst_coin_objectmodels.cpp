// The shipped object models must agree with their lines of objects.txt, since
// the map draws an object from that line alone: each model stands on the
// ground, centred on its position, with the footprint the line gives, at real
// size (one unit is 12 feet), and light enough to place by the dozen.

#include "files/FileServices.h"
#include "palette/ObjectLibrary.h"

#include <Inventor/SbBox3f.h>
#include <Inventor/SbMatrix.h>
#include <Inventor/SoDB.h>
#include <Inventor/SoInput.h>
#include <Inventor/SoPrimitiveVertex.h>
#include <Inventor/VRMLnodes/SoVRMLGroup.h>
#include <Inventor/actions/SoCallbackAction.h>

#include <QFile>
#include <QLocale>
#include <QtTest>

#include <cmath>
#include <optional>

namespace {

const QString ObjectsDir = QStringLiteral(SOURCE_DIR "/data/Objects");

// The extent of the triangles a viewer draws, and how many there are. Boxes
// of transformed parts would be looser than the parts themselves.
struct Model {
    SbBox3f box;
    int triangles = 0;
};

void addTriangle(void *data, SoCallbackAction *action, const SoPrimitiveVertex *a,
                 const SoPrimitiveVertex *b, const SoPrimitiveVertex *c)
{
    auto *model = static_cast<Model *>(data);
    ++model->triangles;
    const SbMatrix &matrix = action->getModelMatrix();
    for (const SoPrimitiveVertex *vertex : {a, b, c}) {
        SbVec3f point;
        matrix.multVecMatrix(vertex->getPoint(), point);
        model->box.extendBy(point);
    }
}

std::optional<Model> measure(const QString &path)
{
    static const bool initialised = [] {
        SoDB::init();
        return true;
    }();
    (void)initialised;
    SoInput input;
    if (!input.openFile(QFile::encodeName(path).constData()))
        return std::nullopt;
    SoVRMLGroup *root = SoDB::readAllVRML(&input);
    if (!root)
        return std::nullopt;
    root->ref();
    Model model;
    SoCallbackAction triangles;
    triangles.addTriangleCallback(SoNode::getClassTypeId(), addTriangle, &model);
    triangles.apply(root);
    root->unref();
    return model;
}

// Within a few percent of the wanted size, plus a little for rounded parts.
bool near(float actual, double wanted) { return std::abs(actual - wanted) <= 0.03 + 0.1 * wanted; }

} // namespace

Q_DECLARE_METATYPE(ShapeInfo)

class TestCoinObjectModels : public QObject {
    Q_OBJECT

private slots:
    void model_data();
    void model();
};

void TestCoinObjectModels::model_data()
{
    QTest::addColumn<ShapeInfo>("entry");
    QLocale::setDefault(QLocale::c());
    const TextRead library =
        Files::readTextFile(Files::pathIn(ObjectsDir, QStringLiteral("objects.txt")));
    QVERIFY2(library.ok(), qPrintable(library.error));
    const LibraryLoad load = parseLibrary(library.text);
    QVERIFY2(load.warnings.isEmpty(), qPrintable(load.warnings.join(QLatin1Char('\n'))));
    QVERIFY(!load.Shapes.empty());
    for (const ShapeInfo &entry : load.Shapes)
        QTest::newRow(qPrintable(entry.Name)) << entry;
}

void TestCoinObjectModels::model()
{
    QFETCH(ShapeInfo, entry);
    const std::optional<Model> model = measure(Files::pathIn(ObjectsDir, entry.FileName));
    QVERIFY2(model, qPrintable(QStringLiteral("%1 does not read as VRML").arg(entry.FileName)));
    const SbBox3f &box = model->box;
    QVERIFY(!box.isEmpty());
    const SbVec3f low = box.getMin();
    const SbVec3f high = box.getMax();
    const auto where = [&] {
        return QStringLiteral("%1: x %2..%3, y %4..%5, z %6..%7; objects.txt says %8 x %9")
            .arg(entry.FileName)
            .arg(low[0])
            .arg(high[0])
            .arg(low[1])
            .arg(high[1])
            .arg(low[2])
            .arg(high[2])
            .arg(entry.Width)
            .arg(entry.Depth);
    };

    QVERIFY2(std::abs(low[1]) <= 0.01f,
             qPrintable(QStringLiteral("not standing on y = 0: ") + where()));
    QVERIFY2(std::abs(low[0] + high[0]) / 2 <= 0.03f + 0.05f * float(entry.Width),
             qPrintable(QStringLiteral("not centred along x: ") + where()));
    QVERIFY2(std::abs(low[2] + high[2]) / 2 <= 0.03f + 0.05f * float(entry.Depth),
             qPrintable(QStringLiteral("not centred along z: ") + where()));

    // The map draws Width along x and Depth along z; a circle's diameter is both.
    QVERIFY2(entry.MapShape == QLatin1String("C") || entry.MapShape == QLatin1String("R"),
             qPrintable(entry.MapShape));
    if (entry.MapShape == QLatin1String("C"))
        QCOMPARE(entry.Depth, entry.Width);
    QVERIFY2(near(high[0] - low[0], entry.Width),
             qPrintable(QStringLiteral("width differs: ") + where()));
    QVERIFY2(near(high[2] - low[2], entry.Depth),
             qPrintable(QStringLiteral("depth differs: ") + where()));

    // Real size: from a hydrant (under a foot) to a bus (40 feet).
    const float largest = std::max({high[0] - low[0], high[1] - low[1], high[2] - low[2]});
    QVERIFY2(largest >= 0.05f && largest <= 4.0f,
             qPrintable(QStringLiteral("not at real size: ") + where()));

    QVERIFY2(model->triangles <= 3000,
             qPrintable(
                 QStringLiteral("%1 has %2 triangles").arg(entry.FileName).arg(model->triangles)));
}

QTEST_GUILESS_MAIN(TestCoinObjectModels)
#include "tst_coin_objectmodels.moc"
