// The Qt-backed platform services: what the user sees in the dialogs and what
// comes back from them, the settings file, and picture sizes.

#include "platform/QtPlatform.h"

#include <QApplication>
#include <QBuffer>
#include <QColorDialog>
#include <QComboBox>
#include <QFile>
#include <QFileSystemModel>
#include <QImage>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace
{

// Runs `act` on the next modal window of type T as soon as it is shown.
template <typename T> void onNextModal(std::function<void(T *)> act)
{
    // The pending timer owns the function; it refers to itself weakly, so it
    // is freed once the dialog has been answered.
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [act, weak = std::weak_ptr(poll)] {
        if (auto *modal = qobject_cast<T *>(QApplication::activeModalWidget()))
            act(modal);
        else if (auto self = weak.lock())
            QTimer::singleShot(10, [self] { (*self)(); });
    };
    QTimer::singleShot(0, [poll] { (*poll)(); });
}

// A GIF whose screen is width x height pixels, holding one 1 x 1 frame:
// the screen gives the picture its size.
QByteArray gifOfSize(int width, int height)
{
    QByteArray gif = QByteArray::fromHex("474946383961"                       // GIF89a
                                         "00000000800000000000ffffff"         // screen, two colours
                                         "2c00000000010001000002024401003b"); // 1 x 1 frame
    gif[6] = char(width & 0xff);
    gif[7] = char(width >> 8);
    gif[8] = char(height & 0xff);
    gif[9] = char(height >> 8);
    return gif;
}

} // namespace

Q_DECLARE_METATYPE(MessageBoxes::Answer)

class TestPlatform : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void fileFilters_data();
    void fileFilters();

    void messageAnswers_data();
    void messageAnswers();

    void colourAnswers_data();
    void colourAnswers();

    void settingsRoundTrip_data();
    void settingsRoundTrip();
    void settingsFileLocation();

    void pictureSizes_data();
    void pictureSizes();

private:
    QTemporaryDir m_home; // the settings store and the test files live here
};

void TestPlatform::initTestCase()
{
    QVERIFY(m_home.isValid());
    // QSettings learns its folder on first use: point it at the scratch folder first.
    qputenv("XDG_CONFIG_HOME", m_home.filePath(QStringLiteral("config")).toLocal8Bit());
}

void TestPlatform::fileFilters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("patterns"); // those of the first entry

    QTest::newRow("world files, caption with a stray brace")
        << "Lotwright Files (*.lwf}|*.lwf" << QStringList{"Lotwright Files (*.lwf}"}
        << QStringList{"*.lwf"};
    QTest::newRow("caption that already names its patterns")
        << "Pictures (*.gif;*.jpg)|*.gif;*.jpg" << QStringList{"Pictures (*.gif;*.jpg)"}
        << QStringList{"*.gif", "*.jpg"};
    QTest::newRow("two entries") << "Music|*.wav;*.mid;*.mp3|All Files|*.*"
                                 << QStringList{"Music", "All Files"}
                                 << QStringList{"*.wav", "*.mid", "*.mp3"};
    QTest::newRow("caption without patterns")
        << "Anything" << QStringList{"Anything"} << QStringList{"*"};
}

void TestPlatform::fileFilters()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, patterns);

    for (auto mode : {QFileDialog::AcceptOpen, QFileDialog::AcceptSave}) {
        QFileDialog dialog;
        prepareFileDialog(dialog, filter, mode);
        QCOMPARE(dialog.acceptMode(), mode);

        auto *types = dialog.findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        QVERIFY(types);
        QStringList items;
        for (int i = 0; i < types->count(); ++i)
            items << types->itemText(i);
        QCOMPARE(items, shown);

        auto *model = dialog.findChild<QFileSystemModel *>();
        QVERIFY(model);
        QCOMPARE(model->nameFilters(), patterns);
    }
}

void TestPlatform::messageAnswers_data()
{
    QTest::addColumn<QString>("press"); // a button's text, or "Escape"
    QTest::addColumn<MessageBoxes::Answer>("answer");

    QTest::newRow("yes") << "Yes" << MessageBoxes::Answer::Yes;
    QTest::newRow("no") << "No" << MessageBoxes::Answer::No;
    QTest::newRow("cancel") << "Cancel" << MessageBoxes::Answer::Cancel;
    QTest::newRow("escape means cancel") << "Escape" << MessageBoxes::Answer::Cancel;
}

void TestPlatform::messageAnswers()
{
    QFETCH(QString, press);
    QFETCH(MessageBoxes::Answer, answer);

    QString title, text;
    onNextModal<QMessageBox>([&](QMessageBox *box) {
        title = box->windowTitle();
        text = box->text();
        if (press == QLatin1String("Escape")) {
            QTest::keyClick(box, Qt::Key_Escape);
            return;
        }
        for (QAbstractButton *button : box->buttons())
            if (button->text().remove(QLatin1Char('&')) == press)
                button->click();
    });
    QtMessageBoxes boxes;
    QCOMPARE(boxes.askYesNoCancel(nullptr, QStringLiteral("Save Changes Before Exiting?")), answer);
    QCOMPARE(title, QStringLiteral("Lotwright"));
    QCOMPARE(text, QStringLiteral("Save Changes Before Exiting?"));
}

void TestPlatform::colourAnswers_data()
{
    QTest::addColumn<int>("initial");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QColor>("expectedShown");

    // red + 256 * green + 65536 * blue
    QTest::newRow("red, green and blue apart")
        << (0x10 + 256 * 0x80 + 65536 * 0xf0) << true << QColor(0x10, 0x80, 0xf0);
    QTest::newRow("white") << 0xffffff << true << QColor(255, 255, 255);
    QTest::newRow("cancelled") << 0x0000ff << false << QColor(255, 0, 0);
}

void TestPlatform::colourAnswers()
{
    QFETCH(int, initial);
    QFETCH(bool, accept);
    QFETCH(QColor, expectedShown);

    QColor shown;
    onNextModal<QColorDialog>([&](QColorDialog *dialog) {
        shown = dialog->currentColor();
        accept ? dialog->accept() : dialog->reject();
    });
    QtColorDialog colours;
    const auto chosen = colours.chooseColor(nullptr, initial);
    QCOMPARE(shown, expectedShown);
    QCOMPARE(chosen.has_value(), accept);
    if (accept)
        QCOMPARE(*chosen, initial);
}

void TestPlatform::settingsRoundTrip_data()
{
    QTest::addColumn<QString>("value");

    QTest::newRow("whole number") << "2";
    QTest::newRow("decimal point") << "1234.5";
    QTest::newRow("decimal comma") << "1234,5";
    QTest::newRow("empty") << "";
    QTest::newRow("spaces around") << " 50 ";
}

void TestPlatform::settingsRoundTrip()
{
    QFETCH(QString, value);
    {
        QtSettingsStore store;
        store.setValue(QStringLiteral("Top"), value);
    }
    QtSettingsStore reopened;
    QCOMPARE(reopened.value(QStringLiteral("Top"), QStringLiteral("default")), value);
    QCOMPARE(reopened.value(QStringLiteral("NeverWritten"), QStringLiteral("50")),
             QStringLiteral("50"));
}

void TestPlatform::settingsFileLocation()
{
    QtPlatform platform;
    platform.platform().settings->setValue(QStringLiteral("WindowState"), QStringLiteral("0"));

    const QString path = m_home.filePath(QStringLiteral("config/Lotwright2/Lotwright2.ini"));
    QFile file(path);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
    const QString text = QString::fromUtf8(file.readAll());
    QVERIFY2(text.contains(QLatin1String("[Previous]")), qPrintable(text));
    QVERIFY2(text.contains(QLatin1String("WindowState=0")), qPrintable(text));

    // A value edited by hand with an unquoted comma reads back whole.
    QSettings raw(path, QSettings::IniFormat);
    raw.setValue(QStringLiteral("Previous/Left"), QStringList{"12", "5"});
    raw.sync();
    QCOMPARE(QtSettingsStore().value(QStringLiteral("Left"), QString()), QStringLiteral("12,5"));
}

void TestPlatform::pictureSizes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content"); // empty: a JPEG is written instead
    QTest::addColumn<QSize>("expected");     // invalid: no size

    QTest::newRow("jpeg") << "photo.jpg" << QByteArray() << QSize(37, 21);
    QTest::newRow("gif") << "sign.gif" << gifOfSize(29, 13) << QSize(29, 13);
    QTest::newRow("gif named in capitals") << "SIGN.GIF" << gifOfSize(3, 300) << QSize(3, 300);
    QTest::newRow("text file posing as gif")
        << "note.gif" << QByteArray("not a picture") << QSize();
    QTest::newRow("empty file") << "empty.jpg" << QByteArray("") << QSize();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImage(8, 8, QImage::Format_RGB32).save(&buffer, "PNG");
    QTest::newRow("png named as jpeg") << "wrong.jpg" << png << QSize();
    QTest::newRow("missing file") << "" << QByteArray() << QSize();
}

void TestPlatform::pictureSizes()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QSize, expected);

    QString path = m_home.filePath(name.isEmpty() ? QStringLiteral("missing.jpg") : name);
    if (!name.isEmpty()) {
        if (content.isNull()) {
            QImage photo(expected, QImage::Format_RGB32);
            photo.fill(Qt::darkGreen);
            QVERIFY(photo.save(path, "JPEG"));
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
    }
    if (expected.isValid())
        QCOMPARE(QImage(path).size(), expected); // the written picture is sound

    QtPictureMeasure measure;
    QString reason;
    const auto size = measure.naturalSize(path, &reason);
    QCOMPARE(size.has_value(), expected.isValid());
    QCOMPARE(reason.isEmpty(), expected.isValid()); // a refusal says why
    if (size)
        QCOMPARE(*size, expected);
}

QTEST_MAIN(TestPlatform)
#include "tst_ui_platform.moc"
