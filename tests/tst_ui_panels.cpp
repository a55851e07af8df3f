// The panels the palette and the Edit Object dialog share: screen-reader
// names, orientation values, the picture's file choice and proportional size,
// the colour swatch, and showing and applying a record.

#include "palette/ColorSwatch.h"
#include "palette/OrientationPanel.h"
#include "palette/PicturePanel.h"
#include "palette/SurfacePanel.h"
#include "palette/TextPanel.h"
#include "platform/FakePlatform.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

class TestPanels : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

    // Every field and every caption-less control has a name a screen reader reads.
    void screenReaderNames()
    {
        FakePlatform fake;
        TextPanel text(fake.platform());
        SurfacePanel surface(fake.platform());
        PicturePanel picture(fake.platform());
        OrientationPanel orientation;
        for (QWidget *panel : std::initializer_list<QWidget *>{&text, &surface, &picture,
                                                               &orientation})
            for (QWidget *control : panel->findChildren<QWidget *>())
                if ((qobject_cast<QLineEdit *>(control) || qobject_cast<QComboBox *>(control) ||
                     qobject_cast<QAbstractButton *>(control)) &&
                    !qobject_cast<QComboBox *>(control->parent())) // not a list's own box
                    QVERIFY2(!QAccessible::queryAccessibleInterface(control)
                                  ->text(QAccessible::Name)
                                  .isEmpty(),
                             qPrintable(control->objectName()));
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
        QTest::newRow("item backward, turned left") << false << 3.14 << "OptUp" << "OptLeft"
                                                    << -1.57;
        QTest::newRow("item of no known rotation") << false << 2.0 << "optDown" << "optRight"
                                                   << 1.57;
        QTest::newRow("start looking down, turned up") << true << 3.14 << "optDown" << "OptUp"
                                                       << 0.0;
        QTest::newRow("start looking left, turned right") << true << 1.57 << "OptLeft"
                                                          << "optRight" << -1.57;
        QTest::newRow("start of no known angle") << true << 2.0 << "optDown" << "optDown" << 3.14;
    }

    void orientation()
    {
        QFETCH(bool, start);
        QFETCH(double, stored);
        QFETCH(QString, option);
        QFETCH(QString, chosen);
        QFETCH(double, result);
        OrientationPanel panel;
        QVERIFY(panel.optDown->isChecked() && panel.rotation() == Rotation::Forward);
        if (start)
            panel.setStartAngle(stored);
        else
            panel.setRotation(float(stored));
        QVERIFY(panel.findChild<QRadioButton *>(option)->isChecked());
        panel.findChild<QRadioButton *>(chosen)->setChecked(true);
        QCOMPARE(float(start ? panel.startAngle() : panel.rotation()), float(result));
    }

    // Typing one size fills in the other, rounded to three decimals with
    // halves to the even neighbour; nothing happens without a measured picture.
    void proportionalSize_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<bool>("heightTyped");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("other");
        QTest::newRow("height 10 of 300 x 200") << QSize(300, 200) << true << "10" << "15";
        QTest::newRow("width 7 of 300 x 200") << QSize(300, 200) << false << "7" << "4.667";
        QTest::newRow("half, odd neighbour up") << QSize(100, 100) << true << "1.0015" << "1.002";
        QTest::newRow("half, even kept") << QSize(100, 100) << false << "1.0025" << "1.002";
        QTest::newRow("not a number") << QSize(300, 200) << true << "tall" << "";
        QTest::newRow("no picture measured") << QSize() << true << "10" << "";
    }

    void proportionalSize()
    {
        QFETCH(QSize, picture);
        QFETCH(bool, heightTyped);
        QFETCH(QString, typed);
        QFETCH(QString, other);
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

    // A cancelled or unreadable choice keeps the previous file and
    // proportions; the dialog starts where the last one was.
    void findPicture_data()
    {
        QTest::addColumn<QString>("answer"); // empty: cancelled
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<double>("aspect");
        QTest::addColumn<QString>("message");
        QTest::newRow("readable") << "/p/wide.jpg" << "/p/wide.jpg" << 2.0 << "";
        QTest::newRow("cancelled") << "" << "/p/first.gif" << 1.5 << "";
        QTest::newRow("unreadable")
            << "/p/notes.gif" << "/p/first.gif" << 1.5
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
        QCOMPARE(fake.fileDialogs.startPaths.value(1), QStringLiteral("/p"));
        QCOMPARE(panel.fileName(), fileName);
        QCOMPARE(panel.pictureAspect(), aspect);
        QCOMPARE(fake.messages.shown.join(""), message);
    }

    // A cancel keeps the colour; a choice is kept and painted in the swatch.
    void colorSwatch()
    {
        FakePlatform fake;
        TextPanel panel(fake.platform());
        ColorSwatch &swatch = *panel.picTextColor;
        const int32_t initial = swatch.color();
        fake.colorDialog.answers = {std::nullopt, 0x0000FF};
        swatch.click();
        QCOMPARE(swatch.color(), initial);
        swatch.click();
        QCOMPARE(swatch.color(), 0x0000FF);
        QCOMPARE(fake.colorDialog.calls, 2);
        swatch.resize(swatch.sizeHint());
        QImage image(swatch.size(), QImage::Format_RGB32);
        swatch.render(&image);
        QCOMPARE(image.pixel(image.rect().center()), qRgb(255, 0, 0));
    }

    // The dialog fills the panels from a record and writes them back.
    void showsAndAppliesRecords()
    {
        FakePlatform fake;
        TextPanel text(fake.platform());
        const TextInfo eyeLevel{"Hi", 1, 2, 0x123456, 0, Kind::TextEyeLevel, true, {}, {}, {}};
        text.showRecord(eyeLevel);
        TextInfo back;
        text.applyTo(back);
        QCOMPARE(std::tuple(back.Text, back.Kind, back.Color, back.Billboard),
                 std::tuple(eyeLevel.Text, eyeLevel.Kind, eyeLevel.Color, eyeLevel.Billboard));

        PicturePanel picture(fake.platform());
        picture.showRecord(PictureInfo{5, 5, 0.25f, 1, 0.5f, 0, true, "/p/a.gif", {}, {}});
        QCOMPARE(picture.txt2DHeight->text() + " " + picture.txt2DWidth->text(), "6 12");
        QCOMPARE(picture.offGroundUnits(), std::optional(0.25f));
        picture.txt2DHeight->selectAll();
        QTest::keyClicks(picture.txt2DHeight, "9"); // the stored proportions hold
        QCOMPARE(picture.txt2DWidth->text(), QStringLiteral("18"));
        picture.clear();
        QVERIFY(picture.fileName().isEmpty() && picture.txt2DWidth->text().isEmpty());
        QCOMPARE(picture.pictureAspect(), 0.0);
    }
};

QTEST_MAIN(TestPanels)
#include "tst_ui_panels.moc"
