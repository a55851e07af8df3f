// The main window's menu bar: File (with the recent worlds, filled as it
// opens), Edit, View and Help. The file commands are DocumentFiles'; the
// shortcuts follow the desktop's conventions.

#include "editor/window/MainEditor.h"

#include "editor/palette/PanelParts.h"
#include "editor/window/DocumentFiles.h"
#include "editor/window/ViewDock.h"

#include <QAction>
#include <QActionGroup>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>

void MainEditor::createMenus()
{
    mnuFile = menuBar()->addMenu(tr("&File"));
    mnuNewItem = mnuFile->addAction(tr("&New"), m_files, &DocumentFiles::newFile);
    mnuNewItem->setShortcuts(QKeySequence::New);
    mnuLoadItem = mnuFile->addAction(tr("&Open..."), m_files, &DocumentFiles::open);
    mnuLoadItem->setShortcuts(QKeySequence::Open);
    mnuSave2Item = mnuFile->addAction(tr("&Save"), m_files, &DocumentFiles::save);
    mnuSave2Item->setShortcuts(QKeySequence::Save);
    mnuSaveAs = mnuFile->addAction(tr("Save &As..."), m_files, &DocumentFiles::saveAs);
    mnuSaveAs->setShortcuts(QKeySequence::SaveAs);
    if (mnuSaveAs->shortcuts().isEmpty()) // some desktops define none
        mnuSaveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    mnuDivide1 = mnuFile->addSeparator();
    mnuProperties = mnuFile->addAction(tr("World Properties..."));
    mnuDivide2 = mnuFile->addSeparator();
    mnuSaveItem = mnuFile->addAction(tr("Export to VRM&L"), this, &MainEditor::mnuSaveItem_Click);
    mnuDivide3 = mnuFile->addSeparator();
    mnuExitItem = mnuFile->addAction(tr("&Exit"), this, &QWidget::close);
    mnuExitItem->setShortcuts(QKeySequence::Quit);
    mnuRecent = new QMenu(tr("Open &Recent"), mnuFile);
    mnuFile->insertMenu(mnuSave2Item, mnuRecent);
    connect(mnuRecent, &QMenu::aboutToShow, this, &MainEditor::fillRecentMenu);

    // The captions name the action: "Undo Place Park Bench", "Redo Draw Wall".
    mnuEdit = menuBar()->addMenu(tr("&Edit"));
    mnuUndo = m_document.undoStack().createUndoAction(this, tr("&Undo"));
    mnuUndo->setShortcuts(QKeySequence::Undo);
    mnuRedo = m_document.undoStack().createRedoAction(this, tr("&Redo"));
    mnuRedo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                           QKeySequence(Qt::CTRL | Qt::Key_Y)});
    mnuEdit->addAction(mnuUndo);
    mnuEdit->addAction(mnuRedo);

    mnuViewItem = menuBar()->addMenu(tr("&View"));
    QAction *viewItem = m_viewDock->toggleViewAction();
    viewItem->setText(tr("&3-D View"));
    mnuViewItem->addAction(viewItem);
    mnuScaleItem = mnuViewItem->addMenu(tr("&Scale"));
    mnu100Item = mnuScaleItem->addAction(tr("&100%"), this, [this] { setZoom(1); });
    mnu200Item = mnuScaleItem->addAction(tr("&200%"), this, [this] { setZoom(2); });
    mnu400Item = mnuScaleItem->addAction(tr("&400%"), this, [this] { setZoom(4); });
    // Shown as a choice of one; a zoom read from a file may match none of them.
    auto *zooms = new QActionGroup(this);
    zooms->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (QAction *item : {mnu100Item, mnu200Item, mnu400Item}) {
        item->setCheckable(true);
        zooms->addAction(item);
    }
    mnu100Item->setChecked(true);

    mnuHelpItem = menuBar()->addMenu(tr("&Help"));
    mnuManualItem =
        mnuHelpItem->addAction(tr("&Manual..."), this, &MainEditor::mnuManualItem_Click);
    mnuManualItem->setShortcut(Qt::Key_F1);
    mnuFeedBack =
        mnuHelpItem->addAction(tr("&Send Us Feedback..."), this, &MainEditor::mnuFeedBack_Click);
    mnuAboutItem = mnuHelpItem->addAction(tr("&About..."), this, &MainEditor::mnuAboutItem_Click);

    nameControls({{mnuFile, "mnuFile"},
                  {mnuNewItem, "mnuNewItem"},
                  {mnuLoadItem, "mnuLoadItem"},
                  {mnuSave2Item, "mnuSave2Item"},
                  {mnuSaveAs, "mnuSaveAs"},
                  {mnuDivide1, "mnuDivide1"},
                  {mnuProperties, "mnuProperties"},
                  {mnuDivide2, "mnuDivide2"},
                  {mnuSaveItem, "mnuSaveItem"},
                  {mnuDivide3, "mnuDivide3"},
                  {mnuExitItem, "mnuExitItem"},
                  {mnuRecent, "mnuRecent"},
                  {mnuEdit, "mnuEdit"},
                  {mnuUndo, "mnuUndo"},
                  {mnuRedo, "mnuRedo"},
                  {mnuViewItem, "mnuViewItem"},
                  {mnuScaleItem, "mnuScaleItem"},
                  {mnu100Item, "mnu100Item"},
                  {mnu200Item, "mnu200Item"},
                  {mnu400Item, "mnu400Item"},
                  {mnuHelpItem, "mnuHelpItem"},
                  {mnuManualItem, "mnuManualItem"},
                  {mnuFeedBack, "mnuFeedBack"},
                  {mnuAboutItem, "mnuAboutItem"}});
}

void MainEditor::fillRecentMenu()
{
    mnuRecent->clear();
    const QStringList recent = m_files->recentFiles();
    for (int i = 0; i < recent.size(); ++i) {
        const QString &path = recent[i];
        if (path.isEmpty())
            continue;
        QAction *entry = mnuRecent->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QString(path).replace(QLatin1Char('&'),
                                                                            QLatin1String("&&"))));
        entry->setEnabled(QFileInfo(path).isFile()); // a world moved away is shown, disabled
        connect(entry, &QAction::triggered, m_files, [this, path] { m_files->openRecent(path); });
    }
    if (!mnuRecent->isEmpty())
        mnuRecent->addSeparator();
    QAction *clear = mnuRecent->addAction(tr("Clear List"), m_files, &DocumentFiles::clearRecent);
    clear->setEnabled(!mnuRecent->actions().isEmpty() && mnuRecent->actions().size() > 1);
}
