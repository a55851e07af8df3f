// The Qt-backed platform services: the file dialogs' filters, what comes back
// from the message boxes and the colour dialog, and picture sizes.

#include "EditorHarness.h"

#include "editor/platform/QtPlatform.h"

namespace {

// A GIF whose screen is width x height pixels, holding one 1 x 1 frame:
// the screen gives the picture its size.
QByteArray gifOfSize(quint16 width, quint16 height)
{
    QByteArray gif = QByteArray::fromHex("474946383961"                       // GIF89a
                                         "00000000800000000000ffffff"         // screen, two colours
                                         "2c00000000010001000002024401003b"); // 1 x 1 frame
    qToLittleEndian(width, gif.data() + 6);
    qToLittleEndian(height, gif.data() + 8);
    return gif;
}

} // namespace

Q_DECLARE_METATYPE(MessageBoxes::Answer)

class TestPlatform : public QObject {
    Q_OBJECT

    QTemporaryDir m_home; // the pictures measured live here

private slots:
    // Captions are shown as given, brackets and all; a name typed without an
    // extension gets the first pattern's when there is one plain extension.
    void fileFilters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("qtFilters");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("world files, caption with a stray brace")
            << "Lotwright Files (*.lwf}|*.lwf" << QStringList{"Lotwright Files (*.lwf} (*.lwf)"}
            << "lwf";
        QTest::newRow("two entries")
            << "Music|*.wav;*.mid;*.mp3|All Files|*.*"
            << QStringList{"Music (*.wav *.mid *.mp3)", "All Files (*.*)"} << "wav";
        QTest::newRow("caption without patterns") << "Anything" << QStringList{"Anything (*)"}
                                                  << "";
    }

    void fileFilters()
    {
        QFETCH(QString, filter);
        QFETCH(QStringList, qtFilters);
        QFETCH(QString, suffix);
        for (auto mode : {QFileDialog::AcceptOpen, QFileDialog::AcceptSave}) {
            QFileDialog dialog;
            prepareFileDialog(dialog, filter, mode);
            QCOMPARE(dialog.nameFilters(), qtFilters);
            QCOMPARE(dialog.defaultSuffix(), suffix);
        }
    }

    void messageAnswers_data()
    {
        QTest::addColumn<int>("press"); // a standard button, or NoButton for Escape
        QTest::addColumn<MessageBoxes::Answer>("answer");
        QTest::newRow("yes") << int(QMessageBox::Yes) << MessageBoxes::Answer::Yes;
        QTest::newRow("no") << int(QMessageBox::No) << MessageBoxes::Answer::No;
        QTest::newRow("cancel") << int(QMessageBox::Cancel) << MessageBoxes::Answer::Cancel;
        QTest::newRow("escape") << int(QMessageBox::NoButton) << MessageBoxes::Answer::Cancel;
    }

    void messageAnswers()
    {
        QFETCH(int, press);
        QFETCH(MessageBoxes::Answer, answer);
        const OnShown<QMessageBox> answerer([&](QMessageBox *box) {
            if (press == QMessageBox::NoButton)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->button(QMessageBox::StandardButton(press))->click();
        });
        QCOMPARE(QtMessageBoxes().askYesNoCancel(nullptr, "Save Changes Before Exiting?"), answer);
    }

    // Stored colours are red + 256 * green + 65536 * blue.
    void colourAnswers_data()
    {
        QTest::addColumn<int>("initial");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QColor>("shown");
        QTest::newRow("red, green and blue apart")
            << (0x10 + 256 * 0x80 + 65536 * 0xf0) << true << QColor(0x10, 0x80, 0xf0);
        QTest::newRow("cancelled") << 0x0000ff << false << QColor(255, 0, 0);
    }

    void colourAnswers()
    {
        QFETCH(int, initial);
        QFETCH(bool, accept);
        QFETCH(QColor, shown);
        QColor current;
        const OnShown<QColorDialog> answerer([&](QColorDialog *dialog) {
            current = dialog->currentColor();
            accept ? dialog->accept() : dialog->reject();
        });
        QCOMPARE(QtColorDialog().chooseColor(nullptr, initial),
                 accept ? std::optional<int32_t>(initial) : std::nullopt);
        QCOMPARE(current, shown);
    }

    void pictureSizes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content"); // null: a JPEG is written instead
        QTest::addColumn<QSize>("expected");     // invalid: no size
        QTest::newRow("jpeg") << "photo.jpg" << QByteArray() << QSize(37, 21);
        QTest::newRow("gif") << "sign.gif" << gifOfSize(29, 13) << QSize(29, 13);
        QTest::newRow("text posing as gif") << "note.gif" << QByteArray("not a picture") << QSize();
        QTest::newRow("png named as jpeg") // measured by its content
            << "wrong.jpg"
            << QByteArray::fromHex("89504e470d0a1a0a0000000d494844520000000200000002"
                                   "0802000000fdd49a730000000b49444154789c63604006000"
                                   "00e0001a99173b10000000049454e44ae426082")
            << QSize(2, 2);
        QTest::newRow("missing file") << "" << QByteArray() << QSize();
    }

    void pictureSizes()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QSize, expected);
        const QString path = m_home.filePath(name.isEmpty() ? "missing.jpg" : name);
        if (content.isNull() && !name.isEmpty()) {
            QImage photo(expected, QImage::Format_RGB32);
            photo.fill(Qt::darkGreen);
            QVERIFY(photo.save(path, "JPEG"));
        } else if (!name.isEmpty()) {
            QVERIFY(writeFile(path, content));
        }
        QString reason;
        const auto size = QtPictureMeasure().naturalSize(path, &reason);
        QCOMPARE(size, expected.isValid() ? std::optional(expected) : std::nullopt);
        QCOMPARE(reason.isEmpty(), expected.isValid()); // a refusal says why
    }
};

QTEST_MAIN(TestPlatform)
#include "tst_ui_platform.moc"
