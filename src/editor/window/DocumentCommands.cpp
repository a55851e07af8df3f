// The main window's document side: start-up, the File menu's New, Open, Save,
// Save As and recent worlds, the close question, the window placement kept
// between runs and the Help menu.

#include "editor/window/MainEditor.h"

#include "editor/dialogs/frmAbout.h"
#include "editor/map/MapScale.h"
#include "core/files/FileServices.h"
#include "core/model/NumberText.h"
#include "core/model/WorldFile.h"
#include "scene/ObjectCheck.h"

#include <QAction>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>

namespace {

const QString WorldFilter = QStringLiteral("Lotwright Files (*.lwf}|*.lwf");
const QString SaveChangesQuestion = QStringLiteral("Save changes to the current world?");
constexpr int TwipsPerPixel = 15;
constexpr int MaxWarningsListed = 20;
constexpr int MaxRecentFiles = 8;
const QString WorldSuffix = QStringLiteral("lwf");

QString recentKey(int i) { return QStringLiteral("RecentFile%1").arg(i + 1); }

} // namespace

void MainEditor::runLoadSequence()
{
    LibraryLoad library = loadLibrary(m_programFolder);
    Shapes = std::move(library.Shapes);
    fillObjectList();
    m_libraryWarnings = library.warnings;
    restorePlacement();
    openCommandLine();
    document.setSaved(true);
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
    document.savedAs(path);
    rememberRecent(path);
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
    setCaption(path);
    m_relativeScroll = {read.fractions.horizontal, read.fractions.vertical};
    document.replace(std::move(read.world)); // the view follows
    MapScale::setFraction(*VScroll1, read.fractions.vertical);
    MapScale::setFraction(*HScroll1, read.fractions.horizontal);
    return Status::success();
}

Status MainEditor::SaveFile(const QString &path)
{
    const ScrollFractions fractions{MapScale::fraction(*VScroll1), MapScale::fraction(*HScroll1)};
    Status saved = WorldFile::save(path, world(), fractions);
    if (saved)
        setCaption(path);
    return saved;
}

void MainEditor::newWorld()
{
    m_relativeScroll = {};
    setCaption(QString());
    document.replace(World()); // the view follows
    document.savedAs(QString());
}

bool MainEditor::mayDiscardChanges(const QString &question)
{
    if (document.Saved())
        return true;
    switch (m_platform.messages->askYesNoCancel(this, question)) {
    case MessageBoxes::Answer::No:
        return true;
    case MessageBoxes::Answer::Cancel:
        return false;
    case MessageBoxes::Answer::Yes:
        mnuSave2Item_Click();
        return document.Saved(); // a failed or cancelled save keeps the world
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
    const std::optional<QString> path =
        m_platform.fileDialogs->openFile(this, WorldFilter, dialogFolder());
    if (path && !path->isEmpty())
        openRecent(*path);
}

void MainEditor::openRecent(const QString &path)
{
    const Status loaded = LoadFile(path);
    if (!loaded) {
        m_platform.messages->warn(this, tr("The world could not be opened.\n%1").arg(loaded.error));
        return;
    }
    document.savedAs(path);
    rememberRecent(path);
}

void MainEditor::mnuSave2Item_Click()
{
    const QString path = document.CurrentFile();
    if (path.isEmpty()) {
        mnuSaveAs_Click();
        return;
    }
    const Status saved = SaveFile(path);
    if (!saved) {
        m_platform.messages->warn(this, tr("The world could not be saved.\n%1").arg(saved.error));
        return;
    }
    document.savedAs(path);
    rememberRecent(path);
}

void MainEditor::mnuSaveAs_Click()
{
    const QString current = document.CurrentFile();
    const QString proposed =
        current.isEmpty() ? Files::pathIn(dialogFolder(), QStringLiteral("world.lwf")) : current;
    const std::optional<QString> chosen =
        m_platform.fileDialogs->saveFile(this, WorldFilter, proposed);
    if (!chosen || chosen->isEmpty())
        return;
    // A name typed without an extension gets ".lwf": only such names open
    // from the command line.
    QString path = *chosen;
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + WorldSuffix;
    const Status saved = SaveFile(path);
    if (!saved) {
        m_platform.messages->warn(this, tr("The world could not be saved.\n%1").arg(saved.error));
        return;
    }
    document.savedAs(path);
    rememberRecent(path);
}

QString MainEditor::dialogFolder() const
{
    const QString current = document.CurrentFile();
    if (!current.isEmpty())
        return QFileInfo(current).absolutePath();
    return Files::pathIn(m_programFolder, QStringLiteral("samples"));
}

void MainEditor::rememberRecent(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    SettingsStore &settings = *m_platform.settings;
    QStringList recent{absolute};
    for (int i = 0; i < MaxRecentFiles && recent.size() < MaxRecentFiles; ++i) {
        const QString known = settings.value(recentKey(i), QString());
        if (!known.isEmpty() && !recent.contains(known))
            recent << known;
    }
    for (int i = 0; i < MaxRecentFiles; ++i)
        settings.setValue(recentKey(i), recent.value(i));
}

void MainEditor::fillRecentMenu()
{
    mnuRecent->clear();
    SettingsStore &settings = *m_platform.settings;
    for (int i = 0; i < MaxRecentFiles; ++i) {
        const QString path = settings.value(recentKey(i), QString());
        if (path.isEmpty())
            continue;
        QAction *entry = mnuRecent->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QString(path).replace(QLatin1Char('&'),
                                                                            QLatin1String("&&"))));
        entry->setEnabled(QFileInfo(path).isFile()); // a world moved away is shown, disabled
        connect(entry, &QAction::triggered, this, [this, path] {
            if (mayDiscardChanges(SaveChangesQuestion))
                openRecent(path);
        });
    }
    if (!mnuRecent->isEmpty())
        mnuRecent->addSeparator();
    QAction *clear = mnuRecent->addAction(tr("Clear List"), this, [this] {
        for (int i = 0; i < MaxRecentFiles; ++i)
            m_platform.settings->setValue(recentKey(i), QString());
    });
    clear->setEnabled(!mnuRecent->actions().isEmpty() && mnuRecent->actions().size() > 1);
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
