// The exported web page in a real browser: headless Chromium loads it from the
// local server and plays the world; the page's load handling has run, nothing
// was reported as an error, and the picture shows the sky, and the hedge in
// the colours of its leaves (not tinted by its blue material).

#include "TestSupport.h"

#include "HeadlessBrowser.h"
#include "core/vrml/ExportCommand.h"
#include "web/StaticServer.h"
#include "core/vrml/WebPage.h"

#include <QtTest>

namespace {

constexpr int Timeout = 45000; // SwiftShader on two busy cores: seconds to the first frame

// The mean colour of a part of the picture, given in fractions of its size
// (smooth scaling averages the area).
QColor meanColour(const QImage &image, const QRectF &part)
{
    const QRect area = QTransform::fromScale(image.width(), image.height()).mapRect(part).toRect();
    return image.copy(area)
        .scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .pixelColor(0, 0);
}

} // namespace

class TestWebBrowser : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (HeadlessBrowser::executable().isEmpty())
            QSKIP("Chromium is not installed (scripts/install-deps installs it): no browser to "
                  "play the page in");
        const QString program = m_program.path();
        QVERIFY(copyFiles(BIN_DIR "/Textures", program + "/Textures"));
        QVERIFY(Files::mirrorFolder(BIN_DIR "/x_ite", program + "/x_ite").ok());
        QVERIFY(QFile::copy(BIN_DIR "/samples/music/gallery.wav", program + "/tune.wav"));

        // Start at (50, 96) facing north: a hedge right ahead, a text beyond it.
        World world;
        world.Music = program + "/tune.wav";
        appendItem(world.Cubes, CubeInfo{Kind::Shrubbery, 44, 56, 86, 95.9f, 0});
        appendItem(
            world.Texts,
            TextInfo{"Welcome", 50, 80, 255, Rotation::Forward, Kind::TextBig, false, {}, {}, {}});
        std::vector<ShapeInfo> shapes;
        const WorldExport exported = exportWorld(world, shapes, program, {});
        QVERIFY2(exported.ok(), qPrintable(exported.error));
        QVERIFY(WebPage::write(program, exported.outputPath).ok());
        QVERIFY(m_server.start(program + "/ToGo"));

        if (!m_browser.start(QSize(800, 500), Timeout)) {
            if (!m_browser.isRunning())
                QSKIP(qPrintable("Chromium cannot start here: " + m_browser.error()));
            QFAIL(qPrintable(m_browser.error()));
        }
    }

    void playsTheWorld()
    {
        QVERIFY2(m_browser.navigate(m_server.url(), Timeout), qPrintable(m_browser.error()));
        QCOMPARE(waitForWorld(m_browser, Timeout).value_or(m_browser.error()),
                 QStringLiteral("loaded"));
        QVERIFY2(m_browser.pageErrors().isEmpty(), qPrintable(m_browser.pageErrors().join('\n')));

        const QImage shot = m_browser.screenshot(Timeout);
        const QColor sky = meanColour(shot, {0.1, 0.02, 0.8, 0.1});
        const QColor hedge = meanColour(shot, {0.3, 0.8, 0.4, 0.1});
        QVERIFY2(sky.blue() > sky.red() + 40 && hedge.green() > hedge.blue() + 20 && sky != hedge,
                 qPrintable(sky.name() + " " + hedge.name()));
    }

    // A page whose world is missing says so instead of showing nothing.
    void explainsAMissingWorld()
    {
        QVERIFY(
            writeFile(m_program.filePath("ToGo/missing.html"), WebPage::html("gone.wrl").toUtf8()));
        QVERIFY(m_browser.navigate(m_server.url().resolved(QUrl("missing.html")), Timeout));
        QCOMPARE(waitForWorld(m_browser, Timeout).value_or(m_browser.error()),
                 QStringLiteral("failed"));
        const QString problem =
            m_browser.evaluate("document.getElementById('problem').textContent", Timeout)
                ->toString();
        QVERIFY2(problem.contains("\u201cgone.wrl\u201d could not be loaded"), qPrintable(problem));
    }

private:
    QTemporaryDir m_program;
    StaticServer m_server;
    HeadlessBrowser m_browser;
};

QTEST_GUILESS_MAIN(TestWebBrowser)
#include "tst_web_browser.moc"
