// The panels the palette and the Edit Object dialog share: start state,
// screen-reader names, orientation values, the picture's file choice and
// proportional size, colour choices, and showing and applying a record.

#include "palette/ColorSwatch.h"
#include "palette/OrientationPanel.h"
#include "palette/PicturePanel.h"
#include "palette/SurfacePanel.h"
#include "palette/TextPanel.h"
#include "platform/FakePlatform.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

QString accessibleName(QWidget *w)
{
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(QAccessible::Name) : QString();
}

} // namespace

class TestPanels : public QObject {
    Q_OBJECT

private slots:
    void startState()
    {
        FakePlatform fake;
        TextPanel text(fake.platform());
        QVERIFY(text.txtTextText->text().isEmpty() && !text.chkTextBillBoard->isChecked());
        QCOMPARE(text.kind(), Kind::TextBig);
        QCOMPARE(text.picTextColor->color(), 0xFFFFFF);
        QCOMPARE(SurfacePanel(fake.platform()).picCubesColor->color(), 0xC0C0C0);
        PicturePanel picture(fake.platform());
        QVERIFY(picture.fileName().isEmpty() && !picture.heightUnits());
        QCOMPARE(picture.pictureAspect(), 0.0);
        OrientationPanel orientation;
        QVERIFY(orientation.optDown->isChecked());
        QCOMPARE(orientation.rotation(), Rotation::Forward);
        QVERIFY(orientation.txtAnchor->text().isEmpty() && orientation.target().isEmpty());
        QCOMPARE(orientation.cmbTarget->count(), 4);
    }

    // Each field is named by its caption, each caption-less control by itself.
    void screenReaderNames()
    {
        FakePlatform fake;
        TextPanel text(fake.platform());
        PicturePanel picture(fake.platform());
        OrientationPanel orientation;
        const QList<QPair<QWidget *, QString>> expected{
            {text.txtTextText, "Text To Be Displayed"},
            {text.picTextColor, "Text Color"},
            {picture.txt2DHeight, "Height (Feet)"},
            {picture.txt2DOffGround, "Off Ground (Feet)"},
            {orientation.txtAnchor, "Anchor (URL)"},
            {orientation.cmbTarget, "Anchor Target"},
            {orientation.OptUp, "Up"},
        };
        for (const auto &[widget, name] : expected)
            QCOMPARE(accessibleName(widget), name);
    }

    // Items and the start position read the same options differently; a
    // stored value that is none of the four shows "down".
    void orientation_data()
    {
        QTest::addColumn<bool>("start");
        QTest::addColumn<double>("stored");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<double>("result");
        QTest::newRow("item backward, turned left") << false << 3.14 << "OptUp"
                                                    << "OptLeft" << -1.57;
        QTest::newRow("item of no known rotation") << false << 2.0 << "optDown"
                                                   << "optRight" << 1.57;
        QTest::newRow("start looking down, turned up") << true << 3.14 << "optDown"
                                                       << "OptUp" << 0.0;
        QTest::newRow("start looking left, turned down") << true << 1.57 << "OptLeft"
                                                         << "optDown" << 3.14;
    }

    void orientation()
    {
        QFETCH(bool, start);
        QFETCH(double, stored);
        QFETCH(QString, option);
        QFETCH(QString, chosen);
        QFETCH(double, result);
        OrientationPanel panel;
        const auto button = [&panel](const QString &name) {
            return name == "OptUp"     ? panel.OptUp
                   : name == "optDown" ? panel.optDown
                   : name == "OptLeft" ? panel.OptLeft
                                       : panel.optRight;
        };
        if (start)
            panel.setStartAngle(stored);
        else
            panel.setRotation(float(stored));
        QVERIFY(button(option)->isChecked());
        button(chosen)->setChecked(true);
        if (start)
            QCOMPARE(panel.startAngle(), result);
        else
            QCOMPARE(panel.rotation(), float(result));
    }

    // Typing one size fills in the other, rounded to three decimals with
    // halves to the even neighbour; nothing happens without a measured picture.
    void proportionalSize_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<bool>("heightTyped");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("other");
        QTest::newRow("height 10 of 300 x 200") << QSize(300, 200) << true << "10"
                                                << "15";
        QTest::newRow("width 7 of 300 x 200") << QSize(300, 200) << false << "7"
                                              << "4.667";
        QTest::newRow("half, odd neighbour up") << QSize(100, 100) << true << "1.0015"
                                                << "1.002";
        QTest::newRow("half, even neighbour kept") << QSize(100, 100) << false << "1.0025"
                                                   << "1.002";
        QTest::newRow("not a number") << QSize(300, 200) << true << "tall"
                                      << "";
        QTest::newRow("no picture measured") << QSize() << true << "10"
                                             << "";
    }

    void proportionalSize()
    {
        QFETCH(QSize, picture);
        QFETCH(bool, heightTyped);
        QFETCH(QString, typed);
        QFETCH(QString, other);
        QLocale::setDefault(QLocale::c());
        FakePlatform fake;
        PicturePanel panel(fake.platform());
        if (picture.isValid()) {
            fake.pictures.sizes["/p/sign.gif"] = picture;
            fake.fileDialogs.openAnswers = {QStringLiteral("/p/sign.gif")};
            panel.cmd2dFind->click();
        }
        QLineEdit *box = heightTyped ? panel.txt2DHeight : panel.txt2DWidth;
        QTest::keyClicks(box, typed);
        QCOMPARE((heightTyped ? panel.txt2DWidth : panel.txt2DHeight)->text(), other);
        QCOMPARE(box->text(), typed); // the typed box is left alone
    }

    // A cancelled or unreadable choice keeps the previous file and proportions.
    void findPicture_data()
    {
        QTest::addColumn<QString>("answer"); // empty: cancelled
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<double>("aspect");
        QTest::addColumn<QString>("message");
        QTest::newRow("readable") << "/p/wide.jpg"
                                  << "/p/wide.jpg" << 2.0 << "";
        QTest::newRow("cancelled") << ""
                                   << "/p/first.gif" << 1.5 << "";
        QTest::newRow("unreadable")
            << "/p/notes.gif"
            << "/p/first.gif" << 1.5
            << "Cannot read this picture: /p/notes.gif\nUnsupported image format";
    }

    void findPicture()
    {
        QFETCH(QString, answer);
        QFETCH(QString, fileName);
        QFETCH(double, aspect);
        QFETCH(QString, message);
        FakePlatform fake;
        fake.pictures.sizes = {{"/p/first.gif", QSize(300, 200)}, {"/p/wide.jpg", QSize(200, 100)}};
        PicturePanel panel(fake.platform());
        fake.fileDialogs.openAnswers = {QStringLiteral("/p/first.gif"),
                                        answer.isEmpty() ? std::nullopt : std::optional(answer)};
        panel.cmd2dFind->click();
        panel.cmd2dFind->click();
        QCOMPARE(fake.fileDialogs.filters.value(1), PicturePanel::FileFilter);
        QCOMPARE(fake.fileDialogs.startPaths.value(1),
                 QStringLiteral("/p")); // where the last one was
        QCOMPARE(panel.fileName(), fileName);
        QCOMPARE(panel.pictureAspect(), aspect);
        QCOMPARE(fake.messages.shown.join(""), message);
    }

    void colorChoice()
    {
        FakePlatform fake;
        TextPanel panel(fake.platform());
        fake.colorDialog.answers = {std::nullopt, 0x0000FF};
        panel.picTextColor->click(); // cancelled
        QCOMPARE(panel.picTextColor->color(), 0xFFFFFF);
        panel.picTextColor->click();
        QCOMPARE(panel.picTextColor->color(), 0x0000FF);
        QCOMPARE(fake.colorDialog.calls, 2);
    }

    // The dialog fills the panels from a record and writes them back.
    void showsAndAppliesRecords()
    {
        FakePlatform fake;
        TextPanel text(fake.platform());
        const TextInfo eyeLevel{"Hi", 1, 2, 0x123456, 0, Kind::TextEyeLevel, true, {}, {}, {}};
        text.showRecord(eyeLevel);
        QVERIFY(text.optText2->isChecked());
        TextInfo back;
        text.applyTo(back);
        QCOMPARE(std::tuple(back.Text, back.Kind, back.Color, back.Billboard),
                 std::tuple(eyeLevel.Text, eyeLevel.Kind, eyeLevel.Color, eyeLevel.Billboard));

        QLocale::setDefault(QLocale::c());
        PicturePanel picture(fake.platform());
        picture.showRecord(PictureInfo{5, 5, 0.25f, 1, 0.5f, 0, true, "/p/a.gif", {}, {}});
        QCOMPARE(picture.txt2DHeight->text(), QStringLiteral("6"));
        QCOMPARE(picture.txt2DWidth->text(), QStringLiteral("12"));
        QCOMPARE(picture.offGroundUnits(), std::optional(0.25f));
        QCOMPARE(picture.pictureAspect(), 2.0);
        picture.txt2DHeight->selectAll();
        QTest::keyClicks(picture.txt2DHeight, "9");
        QCOMPARE(picture.txt2DWidth->text(), QStringLiteral("18"));
        picture.clear();
        QVERIFY(picture.fileName().isEmpty() && picture.txt2DWidth->text().isEmpty());
        QCOMPARE(picture.pictureAspect(), 0.0);
    }
};

QTEST_MAIN(TestPanels)
#include "tst_ui_panels.moc"
