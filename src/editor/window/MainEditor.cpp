// The main window's controls, the pieces it delegates to and how they are
// wired together, and the window's own events: resizing lays the controls
// out, closing asks about unsaved changes and keeps the window's placement.

#include "editor/window/MainEditor.h"

#include "editor/map/MapCanvas.h"
#include "editor/map/MapLayers.h"
#include "editor/map/MapOverlay.h"
#include "editor/map/MapScale.h"
#include "editor/map/SelectTool.h"
#include "editor/palette/DragHandle.h"
#include "editor/palette/ObjectTree.h"
#include "editor/palette/PanelParts.h"
#include "editor/window/DocumentFiles.h"
#include "editor/window/Palette.h"
#include "editor/window/PlaceTool.h"
#include "editor/window/ViewDock.h"
#include "editor/dialogs/frmBrowse.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>

MainEditor::MainEditor(const Platform &platform, const ProgramFolders &folders,
                       const QString &commandLine, QWidget *parent)
    : QMainWindow(parent), m_platform(platform), m_folders(folders), m_commandLine(commandLine)
{
    createControls();
    m_files = new DocumentFiles(
        m_platform, m_document, m_folders,
        [this] {
            return ScrollFractions{MapScale::fraction(*VScroll1), MapScale::fraction(*HScroll1)};
        },
        this, this);
    connect(m_files, &DocumentFiles::fileNameChanged, this, &MainEditor::setCaption);
    connect(m_files, &DocumentFiles::worldReplaced, this, &MainEditor::showScrollPosition);
    connect(&m_document, &WorldDocument::savedChanged, this,
            [this](bool saved) { setWindowModified(!saved); });
    connect(m_files, &DocumentFiles::recoveryFailed, this, [this](const QString &error) {
        Status1->showMessage(tr("Unsaved work cannot be kept for recovery: %1").arg(error));
    });
    createMenus();
    createClipboardCommands();
    connectPlaceTool();
    connectMoveCommands();
    createGridMenu();
    createToolBar();
    connectNavigation();
    followDocument();
    connectEditCommands();
    connectViewDock();
    connectLibraryCommands();
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
    shpSelector = new MapOverlay(Picture1, MapOverlay::Look::Outline);
    Image1 = new DragHandle(Picture1);
    m_layers = std::make_unique<MapLayers>(*Picture1, *shpSelector, *Image1, m_document, Shapes);
    HScroll1 = new QScrollBar(Qt::Horizontal, central);
    VScroll1 = new QScrollBar(Qt::Vertical, central);
    for (QScrollBar *bar : {HScroll1, VScroll1})
        bar->setRange(0, 0);
    MapScale::followScrollBars(*Picture1, *HScroll1, *VScroll1, m_relativeScroll);

    m_palette = new Palette(m_platform, central);
    m_placeTool = new PlaceTool(m_document, *m_palette, Shapes, m_platform, m_snap, Picture1, this);
    m_selectTool = new SelectTool(m_document, Shapes, m_snap, Picture1, *m_layers, this);

    frmCurrent = new QGroupBox(tr("Existing Objects"), central);
    objTree = new ObjectTree(frmCurrent);
    objTree->setAccessibleName(tr("Existing Objects"));
    connect(objTree, &ObjectTree::nodeClick, this, &MainEditor::objTree_NodeClick);
    cmdRemoveObject = new QPushButton(tr("&Remove Object"), frmCurrent);
    cmdRemoveObject->setToolTip(tr("Removes the currently selected object from the scene"));

    m_viewDock = new ViewDock(frmBrowse::checkOpenGL, this);
    addDockWidget(Qt::LeftDockWidgetArea, m_viewDock);

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

void MainEditor::connectPlaceTool()
{
    // Choosing something to place ends the selection of an existing item.
    connect(m_palette, &Palette::userChose, this, &MainEditor::clearTreeSelection);
    const auto show = [this](const QString &text) { Status1->showMessage(text); };
    connect(m_placeTool, &PlaceTool::statusChanged, Status1, show);
    connect(m_selectTool, &SelectTool::statusChanged, Status1, show);
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
