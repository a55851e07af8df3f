// The sample generator run afresh must write the committed samples byte for
// byte: worlds, JPEG and GIF pictures, MIDI and WAV music. The committed files
// are checked elsewhere (they load, export and play), so they guard the GIF,
// MIDI and WAV writers and the world file against any change in output.

#include "TestSupport.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestSampleFiles : public QObject {
    Q_OBJECT

private slots:
    void generatorWritesTheCommittedSamples()
    {
        QTemporaryDir out;
        QProcess generator;
        generator.start(QStringLiteral(MAKE_SAMPLES), {out.path()});
        QVERIFY(generator.waitForFinished(60000));
        QVERIFY2(generator.exitCode() == 0, generator.readAllStandardError().constData());

        const QString committed = QStringLiteral(SOURCE_DIR "/samples");
        const QStringList names = filesUnder(out.path());
        QCOMPARE(names, filesUnder(committed));
        for (const QString &name : names)
            QVERIFY2(readBytes(out.filePath(name)) == readBytes(committed + '/' + name),
                     qPrintable(name + " differs; if on purpose, rerun make-samples samples"));
    }
};

QTEST_GUILESS_MAIN(TestSampleFiles)
#include "tst_samplefiles.moc"
