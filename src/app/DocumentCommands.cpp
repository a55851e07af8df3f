// The main window's document side: start-up, the File menu's New, Open, Save
// and Save As, the close question, the window placement kept between runs
// and the Help menu.

#include "app/MainEditor.h"

#include "app/frmAbout.h"
#include "mapview/MapScale.h"
#include "model/NumberText.h"
#include "model/WorldFile.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

const QString WorldFilter = QStringLiteral("Lotwright Files (*.lwf}|*.lwf");
const QString SaveChangesQuestion = QStringLiteral("Save changes to the current world?");
constexpr int TwipsPerPixel = 15;
constexpr int MaxWarningsListed = 20;

QString quoted(const QString &text) { return QLatin1Char('"') + text + QLatin1Char('"'); }

} // namespace

void MainEditor::runLoadSequence()
{
    LibraryLoad library = Init_Shapes(m_programFolder);
    Shapes = std::move(library.Shapes);
    m_libraryWarnings = library.warnings;
    world = World();
    restorePlacement();
    openCommandLine();
    Saved = true;
    ScaleLand();
    Render2D(true, 0, -1);
    showLibraryWarnings();
}

void MainEditor::openCommandLine()
{
    // The whole command line is one path, perhaps in double quotes.
    QString path = m_commandLine.trimmed();
    if (path.isEmpty()) {
        newWorld();
        return;
    }
    if (path.startsWith(QLatin1Char('"'))) {
        path.remove(0, 1);
        if (path.endsWith(QLatin1Char('"')))
            path.chop(1);
    }
    if (path.right(3).toLower() != QLatin1String("lwf")) {
        m_platform.messages->inform(this, tr("Not a valid Lotwright 2.0 file."));
        newWorld();
        return;
    }
    const Status loaded = LoadFile(path);
    if (!loaded) {
        m_platform.messages->warn(this, tr("The world could not be opened.\n%1").arg(loaded.error));
        newWorld();
        return;
    }
    CurrentFile = path;
}

void MainEditor::showLibraryWarnings()
{
    if (m_libraryWarnings.isEmpty())
        return;
    QStringList listed = m_libraryWarnings.mid(0, MaxWarningsListed);
    if (m_libraryWarnings.size() > MaxWarningsListed)
        listed << tr("... and %1 more").arg(m_libraryWarnings.size() - MaxWarningsListed);
    m_platform.messages->warn(this, tr("Some lines of the object library were skipped:\n%1")
                                        .arg(listed.join(QLatin1Char('\n'))));
    m_libraryWarnings.clear(); // once per run
}

void MainEditor::setCaption(const QString &path)
{
    setWindowTitle(path.isEmpty() ? tr("Lotwright 2.0 (New)")
                                  : QStringLiteral("Lotwright 2.0 (%1)").arg(path));
}

Status MainEditor::LoadFile(const QString &path)
{
    // The file is read and checked whole first: a failure changes nothing.
    WorldRead read = WorldFile::load(path);
    if (!read.ok())
        return Status::failure(read.error);
    world = std::move(read.world);
    setCaption(path);
    ScaleLand();
    checkZoomMenu();
    m_relativeScroll = {read.fractions.horizontal, read.fractions.vertical};
    MapScale::setFraction(*VScroll1, read.fractions.vertical);
    MapScale::setFraction(*HScroll1, read.fractions.horizontal);
    hideMarkers();
    Render2D(true, 0, -1);
    return Status::success();
}

Status MainEditor::SaveFile(const QString &path)
{
    const ScrollFractions fractions{MapScale::fraction(*VScroll1), MapScale::fraction(*HScroll1)};
    Status saved = WorldFile::save(path, world, fractions);
    if (saved)
        setCaption(path);
    return saved;
}

void MainEditor::newWorld()
{
    world = World();
    m_relativeScroll = {};
    setCaption(QString());
    CurrentFile.clear();
    Saved = true;
    hideMarkers();
    ScaleLand();
    checkZoomMenu();
    Render2D(true, 0, -1);
}

bool MainEditor::mayDiscardChanges(const QString &question)
{
    if (Saved)
        return true;
    switch (m_platform.messages->askYesNoCancel(this, question)) {
    case MessageBoxes::Answer::No:
        return true;
    case MessageBoxes::Answer::Cancel:
        return false;
    case MessageBoxes::Answer::Yes:
        mnuSave2Item_Click();
        return Saved; // a failed or cancelled save keeps the world
    }
    return false;
}

void MainEditor::mnuNewItem_Click()
{
    if (mayDiscardChanges(SaveChangesQuestion))
        newWorld();
}

void MainEditor::mnuLoadItem_Click()
{
    if (!mayDiscardChanges(SaveChangesQuestion))
        return;
    const std::optional<QString> path = m_platform.fileDialogs->openFile(this, WorldFilter);
    if (!path || path->isEmpty())
        return;
    const Status loaded = LoadFile(*path);
    if (!loaded) {
        m_platform.messages->warn(this, tr("The world could not be opened.\n%1").arg(loaded.error));
        return;
    }
    CurrentFile = *path;
    Saved = true;
}

void MainEditor::mnuSave2Item_Click()
{
    if (CurrentFile.isEmpty()) {
        mnuSaveAs_Click();
        return;
    }
    const Status saved = SaveFile(CurrentFile);
    if (!saved) {
        m_platform.messages->warn(this, tr("The world could not be saved.\n%1").arg(saved.error));
        return;
    }
    Saved = true;
}

void MainEditor::mnuSaveAs_Click()
{
    // The path is used as chosen: no extension is added.
    const std::optional<QString> path = m_platform.fileDialogs->saveFile(this, WorldFilter);
    if (!path || path->isEmpty())
        return;
    const Status saved = SaveFile(*path);
    if (!saved) {
        m_platform.messages->warn(this, tr("The world could not be saved.\n%1").arg(saved.error));
        return;
    }
    CurrentFile = *path;
    Saved = true;
}

void MainEditor::restorePlacement()
{
    SettingsStore &settings = *m_platform.settings;
    const auto measure = [&settings](const char *key, float fallback) {
        const QString text = settings.value(QLatin1String(key), NumberText::userSingle(fallback));
        return NumberText::toSingle(text).value_or(fallback) / TwipsPerPixel;
    };
    const int state =
        NumberText::toLong(settings.value(QStringLiteral("WindowState"), QStringLiteral("2")))
            .value_or(2);
    if (state != 0) { // a minimised window (1), or anything unknown, comes back maximised
        // Restoring it later gives a generous window, also where nothing can maximise it.
        if (const QScreen *screen = QGuiApplication::primaryScreen()) {
            const QRect available = screen->availableGeometry();
            const QSize size = available.size() * 0.85;
            setGeometry(
                QRect(available.topLeft() + QPoint((available.width() - size.width()) / 2,
                                                   (available.height() - size.height()) / 2),
                      size));
        }
        setWindowState(Qt::WindowMaximized);
        return;
    }
    const int top = qRound(measure("Top", 50));
    const int left = qRound(measure("Left", 50));
    const int width = qRound(measure("Width", 600));
    const int height = qRound(measure("Height", 400));
    setWindowState(Qt::WindowNoState);
    move(left, top);
    resize(width, height); // the window's minimum size wins over a tiny stored one
    // A window stored on a screen that is gone comes back onto the main screen.
    if (!QGuiApplication::screenAt(frameGeometry().center())) {
        if (const QScreen *screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().topLeft());
    }
}

void MainEditor::storePlacement()
{
    SettingsStore &settings = *m_platform.settings;
    const int state = isMinimized() ? 1 : isMaximized() ? 2 : 0;
    const auto twips = [](int pixels) {
        return NumberText::userSingle(float(pixels * TwipsPerPixel));
    };
    settings.setValue(QStringLiteral("WindowState"), NumberText::formatLong(state));
    settings.setValue(QStringLiteral("Top"), twips(y()));
    settings.setValue(QStringLiteral("Left"), twips(x()));
    settings.setValue(QStringLiteral("Width"), twips(width()));
    settings.setValue(QStringLiteral("Height"), twips(height()));
}

void MainEditor::openHelpPage(const QString &name)
{
    const QString path = Files::pathIn(m_programFolder, name);
    if (!Files::fileExists(path)) {
        m_platform.messages->warn(this, tr("The help page %1 is missing.").arg(quoted(path)));
        return;
    }
    if (!m_platform.shell->openLocalFile(path))
        m_platform.messages->warn(
            this, tr("No program could show the help page %1.\nOpen it with a web browser.")
                      .arg(quoted(path)));
}

void MainEditor::mnuManualItem_Click() { openHelpPage(QStringLiteral("Manual.htm")); }

void MainEditor::mnuFeedBack_Click() { openHelpPage(QStringLiteral("feedback.htm")); }

void MainEditor::mnuAboutItem_Click()
{
    frmAbout about(this);
    about.exec();
}
