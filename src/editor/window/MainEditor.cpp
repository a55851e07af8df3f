#include "editor/window/MainEditor.h"

#include "editor/window/DocumentFiles.h"
#include "editor/map/MapCanvas.h"
#include "editor/map/MapOverlay.h"
#include "editor/map/MapPainter.h"
#include "editor/map/MapScale.h"
#include "editor/palette/DragHandle.h"
#include "editor/palette/ObjectTree.h"
#include "editor/palette/PanelParts.h"
#include "editor/window/Palette.h"
#include "editor/window/PlaceTool.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QGroupBox>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>

MainEditor::MainEditor(const Platform &platform, const QString &programFolder,
                       const QString &commandLine, QWidget *parent)
    : QMainWindow(parent), m_platform(platform), m_programFolder(programFolder),
      m_commandLine(commandLine)
{
    createControls();
    m_files = new DocumentFiles(
        m_platform, document, m_programFolder,
        [this] {
            return ScrollFractions{MapScale::fraction(*VScroll1), MapScale::fraction(*HScroll1)};
        },
        this, this);
    connect(m_files, &DocumentFiles::fileNameChanged, this, &MainEditor::setCaption);
    connect(m_files, &DocumentFiles::worldReplaced, this, &MainEditor::showScrollPosition);
    createMenus();
    connectPlaceTool();
    connectMoveCommands();
    connectNavigation();
    followDocument();
    connectEditCommands();
    setCaption(QString());
    layoutControls();
}

MainEditor::~MainEditor() = default;

void MainEditor::createControls()
{
    auto *central = new QWidget(this);
    setCentralWidget(central);
    central->installEventFilter(this); // every resize lays the controls out again

    Picture2 = new QWidget(central);
    Picture2->setAutoFillBackground(true);
    Picture2->setBackgroundRole(QPalette::Mid);
    Picture1 = new MapCanvas(Picture2);
    Picture1->setAccessibleName(tr("Map"));
    Picture1->setDrawing([this](QPainter &painter, const QTransform &mapToDevice) {
        MapPainter::paintWorld(painter, mapToDevice, world(), Shapes, m_dragged);
    });
    shpSelector = new MapOverlay(Picture1, MapOverlay::Look::Outline);
    Image1 = new DragHandle(Picture1);
    HScroll1 = new QScrollBar(Qt::Horizontal, central);
    VScroll1 = new QScrollBar(Qt::Vertical, central);
    for (QScrollBar *bar : {HScroll1, VScroll1})
        bar->setRange(0, 0);
    MapScale::followScrollBars(*Picture1, *HScroll1, *VScroll1, m_relativeScroll);

    m_palette = new Palette(m_platform, central);
    m_placeTool = new PlaceTool(document, *m_palette, Shapes, m_platform, Picture1, this);

    frmCurrent = new QGroupBox(tr("Existing Objects"), central);
    objTree = new ObjectTree(frmCurrent);
    objTree->setAccessibleName(tr("Existing Objects"));
    connect(objTree, &ObjectTree::nodeClick, this, &MainEditor::objTree_NodeClick);
    cmdRemoveObject = new QPushButton(tr("&Remove Object"), frmCurrent);
    cmdRemoveObject->setToolTip(tr("Removes the currently selected object from the scene"));

    Status1 = new QStatusBar(this);
    setStatusBar(Status1);
    nameControls({{Picture2, "Picture2"},
                  {Picture1, "Picture1"},
                  {shpSelector, "shpSelector"},
                  {Image1, "Image1"},
                  {HScroll1, "HScroll1"},
                  {VScroll1, "VScroll1"},
                  {frmCurrent, "frmCurrent"},
                  {objTree, "objTree"},
                  {cmdRemoveObject, "cmdRemoveObject"},
                  {Status1, "Status1"}});
}

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
    mnuUndo = document.undoStack().createUndoAction(this, tr("&Undo"));
    mnuUndo->setShortcuts(QKeySequence::Undo);
    mnuRedo = document.undoStack().createRedoAction(this, tr("&Redo"));
    mnuRedo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                           QKeySequence(Qt::CTRL | Qt::Key_Y)});
    mnuEdit->addAction(mnuUndo);
    mnuEdit->addAction(mnuRedo);

    mnuViewItem = menuBar()->addMenu(tr("&View"));
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

void MainEditor::connectPlaceTool()
{
    // Choosing something to place ends the selection of an existing item.
    connect(m_palette, &Palette::userChose, this, &MainEditor::clearTreeSelection);
    connect(m_placeTool, &PlaceTool::statusChanged, Status1,
            [this](const QString &text) { Status1->showMessage(text); });
    // The crosshair would no longer cross at the pointer.
    for (QScrollBar *bar : {HScroll1, VScroll1})
        connect(bar, &QScrollBar::valueChanged, m_placeTool, &PlaceTool::hideCrosshair);
    connect(Image1, &DragHandle::hovered, m_placeTool, &PlaceTool::hideCrosshair);
    Picture1->setTool(m_placeTool);
}

bool MainEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == centralWidget() && event->type() == QEvent::Resize)
        layoutControls();
    return QMainWindow::eventFilter(watched, event);
}

void MainEditor::closeEvent(QCloseEvent *event)
{
    if (!m_files->mayDiscardChanges(tr("Save Changes Before Exiting?"))) {
        event->ignore();
        return;
    }
    storePlacement();
    event->accept();
}
