// The splash and About windows and the program's pictures.

#include "app/Artwork.h"
#include "app/frmAbout.h"
#include "app/frmSplash.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

namespace
{

// How much of a picture is not fully transparent, and how many colours it has.
struct Coverage {
    double opaqueShare = 0;
    int colours = 0;
};

Coverage coverage(const QImage &picture)
{
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    QSet<QRgb> colours;
    int opaque = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            colours.insert(pixel);
            if (qAlpha(pixel) > 0)
                ++opaque;
        }
    return {double(opaque) / (image.width() * image.height()), int(colours.size())};
}

} // namespace

class TestWindows : public QObject
{
    Q_OBJECT

private slots:
    void splashHandsOverOnceAfterTwoSeconds();
    void splashLayout();
    void aboutShowsTextsAndClosesOnOk();
    void iconSizes_data();
    void iconSizes();
    void splashPictureIsDrawn();
};

void TestWindows::splashHandsOverOnceAfterTwoSeconds()
{
    QPointer<frmSplash> splash = new frmSplash; // deletes itself
    QSignalSpy finished(splash.data(), &frmSplash::finished);
    QElapsedTimer clock;
    clock.start();
    splash->show();

    QTest::qWait(1500);
    QCOMPARE(finished.count(), 0);
    QVERIFY(splash && splash->isVisible());

    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 2000);
    QVERIFY2(clock.elapsed() >= 1900, qPrintable(QString::number(clock.elapsed())));
    QTRY_VERIFY(splash.isNull());
    QTest::qWait(100);
    QCOMPARE(finished.count(), 1);
}

void TestWindows::splashLayout()
{
    frmSplash splash;
    splash.setAttribute(Qt::WA_DeleteOnClose, false); // lives on the stack here
    QCOMPARE(splash.size(), QSize(400, 200));
    QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(splash.geometry().center(), splash.screen()->availableGeometry().center());

    const auto *timer = splash.findChild<QTimer *>(QStringLiteral("Timer1"));
    QVERIFY(timer);
    QVERIFY(timer->isActive());
    QVERIFY(timer->isSingleShot());
    QCOMPARE(timer->interval(), 2000);

    const auto *label = splash.findChild<QLabel *>(QStringLiteral("Label2"));
    QVERIFY(label);
    QCOMPARE(label->text(),
             QStringLiteral(
                 "Please read the manual in order to derive the most enjoyment from this tool."));
    QVERIFY(splash.rect().contains(label->geometry()));
    QVERIFY2(label->heightForWidth(label->width()) <= label->height(), "the text is cut off");
}

void TestWindows::aboutShowsTextsAndClosesOnOk()
{
    QWidget mainWindow;
    mainWindow.show();
    // Two openings in a row: each a fresh window with the same texts.
    for (int opening = 0; opening < 2; ++opening) {
        frmAbout about(&mainWindow);
        QCOMPARE(about.windowTitle(), QStringLiteral("About Lotwright 2.0"));
        const QList<std::pair<QString, QString>> texts{{"lblTitle", "Lotwright"},
                                                       {"lblVersion", "Version 2.0"},
                                                       {"Label1", "3-D For Everyone"}};
        for (const auto &[name, text] : texts) {
            const auto *label = about.findChild<QLabel *>(name);
            QVERIFY2(label, qPrintable(name));
            QCOMPARE(label->text(), text);
        }
        for (const char *name : {"picIcon", "Image1"}) {
            const auto *label = about.findChild<QLabel *>(QLatin1String(name));
            QVERIFY2(label && !label->pixmap().isNull(), name);
        }

        bool wasModal = false;
        QTimer::singleShot(50, &about, [&] {
            wasModal = QApplication::activeModalWidget() == &about;
            auto *ok = about.findChild<QPushButton *>(QStringLiteral("cmdOK"));
            QVERIFY(ok);
            QCOMPARE(ok->text(), QStringLiteral("OK"));
            ok->click();
        });
        QCOMPARE(about.exec(), int(QDialog::Accepted));
        QVERIFY(wasModal);
        QVERIFY(!about.isVisible());
    }
}

void TestWindows::iconSizes_data()
{
    QTest::addColumn<int>("size");
    for (int size : {16, 32, 48, 64, 128, 256})
        QTest::addRow("%d px", size) << size;
}

void TestWindows::iconSizes()
{
    QFETCH(int, size);
    const QIcon icon = programIcon();
    QVERIFY(icon.availableSizes().contains(QSize(size, size)));

    const QImage picture = icon.pixmap(size, size).toImage();
    QCOMPARE(picture.size(), QSize(size, size));
    const Coverage drawn = coverage(picture);
    // A tile fills most of the square; the rounded corners stay clear.
    QVERIFY2(drawn.opaqueShare > 0.7 && drawn.opaqueShare < 1.0,
             qPrintable(QString::number(drawn.opaqueShare)));
    QVERIFY2(drawn.colours >= 6, qPrintable(QString::number(drawn.colours)));
    QCOMPARE(qAlpha(picture.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(picture.pixel(size / 2, size / 2)), 255);
}

void TestWindows::splashPictureIsDrawn()
{
    const QImage picture = splashPicture();
    QCOMPARE(picture.size(), QSize(400, 200));
    QVERIFY(coverage(picture).colours > 50);

    // The name is written in a dark colour in the upper half; the lower half
    // stays pale behind the splash text.
    auto darkShare = [&picture](const QRect &area) {
        int dark = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                dark += qGray(picture.pixel(x, y)) < 110;
        return double(dark) / (area.width() * area.height());
    };
    QVERIFY(darkShare(QRect(98, 18, 300, 56)) > 0.05);
    QVERIFY(darkShare(QRect(0, 140, 400, 60)) < 0.01);
}

QTEST_MAIN(TestWindows)
#include "tst_ui_windows.moc"
