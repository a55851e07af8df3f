// The main window's start-up (with the offer of unsaved work left by an
// editor that died), the caption and scroll position that follow
// DocumentFiles, the window placement kept between runs and the Help menu.

#include "editor/window/MainEditor.h"

#include "editor/dialogs/frmAbout.h"
#include "editor/window/DocumentFiles.h"
#include "editor/window/Palette.h"
#include "editor/window/ViewDock.h"
#include "editor/map/MapScale.h"
#include "core/files/FileServices.h"
#include "core/model/NumberText.h"
#include "core/model/WorldFile.h"
#include "scene/ObjectCheck.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

constexpr int TwipsPerPixel = 15;
constexpr int MaxWarningsListed = 20;

} // namespace

void MainEditor::runLoadSequence()
{
    LibraryLoad library = loadLibrary(m_folders.program, m_folders.userObjects);
    Shapes = std::move(library.Shapes);
    showLibrary(-1);
    m_libraryWarnings = library.warnings;
    restorePlacement();
    // A recovered world stays changed, and is not replaced by the command line's.
    if (!m_files->offerRecovery()) {
        m_files->openCommandLine(m_commandLine);
        m_document.setSaved(true);
    }
    ScaleLand();
    Render2D(true, 0, -1);
    m_viewDock->follow(m_document, Shapes, m_folders.program);
    showLibraryWarnings();
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
    // "[*]" shows as "*" while the world has unsaved changes.
    setWindowTitle(path.isEmpty() ? tr("Lotwright 2.0 (New)[*]")
                                  : QStringLiteral("Lotwright 2.0 (%1)[*]").arg(path));
}

void MainEditor::showScrollPosition(const ScrollFractions &position)
{
    // Remembered for a bar that cannot scroll yet (before the window has its size).
    m_relativeScroll = {position.horizontal, position.vertical};
    MapScale::setFraction(*VScroll1, position.vertical);
    MapScale::setFraction(*HScroll1, position.horizontal);
}

void MainEditor::restorePlacement()
{
    SettingsStore &settings = *m_platform.settings;
    // The panels' places and sizes; at first the 3-D view shows where it can.
    const QString panels = settings.value(QStringLiteral("Panels"), QString());
    if (panels.isEmpty() || !restoreState(QByteArray::fromBase64(panels.toLatin1()))) {
        m_viewDock->setVisible(m_viewDock->canDraw());
        resizeDocks({m_viewDock}, {m_viewDock->sizeHint().width()}, Qt::Horizontal);
    }
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
    settings.setValue(QStringLiteral("Panels"), QString::fromLatin1(saveState().toBase64()));
    settings.setValue(QStringLiteral("Top"), twips(y()));
    settings.setValue(QStringLiteral("Left"), twips(x()));
    settings.setValue(QStringLiteral("Width"), twips(width()));
    settings.setValue(QStringLiteral("Height"), twips(height()));
}

void MainEditor::openHelpPage(const QString &name)
{
    const QString path = Files::pathIn(m_folders.program, name);
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
