// Importing from the editor, driven through the platform fakes: a model that
// cannot be imported is refused by name; the import dialog, once its child
// has read the model, proposes a name, refuses one that is taken and imports
// with the choices made; Cancel while it converts writes nothing; the object
// is in the list, chosen and ready to place, and found by searching; Remove
// from Library refuses while the world uses it, then takes it out.

#include "EditorHarness.h"
#include "ModelFiles.h"

#include "editor/dialogs/frmImport.h"

#include <QtTest>

namespace {

template <typename T> T *named(const MainEditor &e, const char *name)
{
    return findNamed<T>(e, QLatin1String(name));
}

// Every field of the dialog has a caption that names it, or a name of its own.
bool everyFieldNamed(const frmImport &dialog)
{
    QSet<const QWidget *> captioned;
    for (const QLabel *label : dialog.findChildren<QLabel *>())
        captioned.insert(label->buddy());
    for (const QWidget *field : dialog.findChildren<QWidget *>())
        if ((field->inherits("QLineEdit") || field->inherits("QComboBox") ||
             field->inherits("QPlainTextEdit") || field->inherits("ColorSwatch")) &&
            !captioned.contains(field) && field->accessibleName().isEmpty() &&
            field->parent() == &dialog)
            return false;
    return true;
}

// Until the dialog's child has done its work.
bool settled(frmImport *dialog)
{
    QSignalSpy idle(dialog, &frmImport::idle);
    return !dialog->busy() || idle.wait(60000);
}

} // namespace

class TestUiImport : public QObject {
    Q_OBJECT

private slots:
    void importAndRemove()
    {
        EditorHarness h;
        h.userObjects = h.path("user");
        QVERIFY(copyFiles(TESTS_DATA_DIR "/golden/Objects", h.path("Objects")));
        QVERIFY(writeFile(h.path("model/sign.png"), pngOf(Qt::red)) &&
                writeQuadObj(h.path("model"), "sign.png") &&
                writeFile(h.path("model/points.ply"), plyPoints()));
        QLocale::setDefault(QLocale::c());
        MainEditor &e = h.start();

        h.fake.fileDialogs.openAnswers = {h.path("model/points.ply")};
        named<QPushButton>(e, "cmdImportObject")->click();
        QVERIFY(h.fake.messages.shown.value(0).contains("points.ply"));

        QStringList seen; // proposed name, footprint, still open after a refusal
        bool captioned = false;
        auto answer = std::make_unique<OnShown<frmImport>>([&](frmImport *d) {
            QVERIFY(settled(d));
            captioned = everyFieldNamed(*d);
            seen << d->txtName->text() << d->lblFootprint->text();
            d->txtName->setText("big tree");
            d->cmdImport->click();
            seen << QString::number(d->isVisible());
            d->txtName->setText("Sign Board");
            d->txtSize->setText("24");
            d->cboFacing->setCurrentIndex(1); // a quarter turn: its width becomes its depth
            d->cboMapShape->setCurrentIndex(0);
            d->cmdImport->click();
        });
        h.fake.fileDialogs.openAnswers = {h.path("model/quad.obj")};
        named<QAction>(e, "mnuImportObject")->trigger();
        answer.reset();
        QVERIFY(captioned);
        QCOMPARE(seen, QStringList({"quad", "Footprint: 6.6 × 0 feet", "1"}));
        QVERIFY(h.fake.messages.shown.value(1).contains("already"));
        QVERIFY(h.fake.messages.shown.value(2).contains("is in your object library now"));

        const ShapeInfo added = e.Shapes.back();
        QCOMPARE(added.Name, QString("Sign Board"));
        QCOMPARE(added.MapShape, QString("C"));
        QCOMPARE(added.Depth, 2.0);
        QVERIFY(QFileInfo::exists(h.path("user/Sign Board.wrl")));
        QCOMPARE(List1(e)->currentItem()->text(), QString("Sign Board"));

        // Cancel while the child converts: nothing is written.
        const QStringList written = filesUnder(h.path("user"));
        answer = std::make_unique<OnShown<frmImport>>([&](frmImport *d) {
            QVERIFY(settled(d));
            d->txtSize->setText("30");
            d->cmdImport->click();
            QVERIFY(d->busy());
            d->cmdCancel->click();
        });
        h.fake.fileDialogs.openAnswers = {h.path("model/quad.obj")};
        named<QAction>(e, "mnuImportObject")->trigger();
        answer.reset();
        QCOMPARE(filesUnder(h.path("user")), written);
        QCOMPARE(e.Shapes.size(), size_t(4));
        QTest::mouseClick(Picture1(e), Qt::LeftButton, {}, h.pixelOf(50, 50));
        QCOMPARE(e.world().Objects.back().Name, QString("Sign Board"));

        QTest::keyClicks(named<QLineEdit>(e, "txtFindObject"), "SIGN");
        int shown = 0;
        for (int i = 0; i < List1(e)->count(); ++i)
            shown += List1(e)->item(i)->isHidden() ? 0 : 1;
        QCOMPARE(shown, 1);

        // Chosen again, it is in use: refused; once the placing is undone it goes.
        List1(e)->setCurrentItem(List1(e)->findItems("Sign Board", Qt::MatchExactly).value(0));
        QPushButton *remove = named<QPushButton>(e, "cmdRemoveFromLibrary");
        remove->click();
        QVERIFY(h.fake.messages.shown.last().contains("placed in this world"));
        e.document().undoStack().undo();
        h.fake.messages.choices = {0};
        remove->click();
        QCOMPARE(e.Shapes.size(), size_t(3));
        QVERIFY(!QFileInfo::exists(h.path("user/Sign Board.wrl")));
        QVERIFY(List1(e)->findItems("Sign Board", Qt::MatchExactly).isEmpty());
    }
};

QTEST_MAIN(TestUiImport)
#include "tst_ui_import.moc"
