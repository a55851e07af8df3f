#pragma once
// The map editor's main window. It makes its pieces and wires them together:
// the world document (every change of the world is one of its commands; the
// map and the tree redraw from its notifications), DocumentFiles (New, Open,
// Save, Save As, the recent worlds), the Palette (what the next click
// places), the map's tools (PlaceTool placing with the mouse, SelectTool
// choosing and arranging) and MapLayers (what the map shows). Its controls
// are its own; tools and tests find them by object name.
// Its code is split by concern: MainEditor.cpp (controls, wiring, events),
// MainMenus.cpp (the menu bar, the recent worlds' menu), MainLayout.cpp
// (placing the controls), MapCommands.cpp (map, zoom, tree selection,
// redrawing on the document's notifications), StartupAndHelp.cpp
// (start-up, caption, window placement, help pages), ExportCommands.cpp (the
// export and its preview), MoveCommands.cpp (dragging and nudging items),
// MapNavigation.cpp (wheel, right click, tool tips), EditCommands.cpp
// (removal, editing, World Properties), ToolCommands.cpp (the tool bar and
// which tool is active), ClipboardCommands.cpp (cut, copy, paste, duplicate,
// select all), GridCommands.cpp (the grid and snapping), ViewCommands.cpp
// (the 3-D View panel), LibraryCommands.cpp (importing objects into the
// user's library, removing them, the objects' pictures).

#include "core/files/ProgramFolders.h"
#include "core/library/Footprint.h"
#include "core/library/ObjectLibrary.h"
#include "core/model/WorldDocument.h"
#include "editor/map/MapScale.h"
#include "editor/map/Snap.h"
#include "editor/platform/Platform.h"

#include <QMainWindow>

#include <memory>
#include <optional>
#include <vector>

class DocumentFiles;
class DragHandle;
class frmEdit;
class MapCanvas;
class MapLayers;
class MapOverlay;
class ObjectIcons;
class ObjectTree;
class ViewDock;
class Palette;
class PlaceTool;
class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QScrollBar;
class QStatusBar;
class QToolBar;
class SelectTool;
class WebPublisher;
struct ScrollFractions;

class MainEditor : public QMainWindow {
    Q_OBJECT

public:
    // commandLine: everything after the program's name, arguments joined by blanks.
    MainEditor(const Platform &platform, const ProgramFolders &folders, const QString &commandLine,
               QWidget *parent = nullptr);
    ~MainEditor() override;

    // Start-up: loads the library, restores the window placement, opens the
    // world named on the command line or starts a new one, draws the map.
    void runLoadSequence();

    // The map and the tree (MapCommands.cpp).
    // Draws the map; with RefreshTree, rebuilds the tree, selecting the item
    // of kind SelKind and index SelIndex (-1: the last) or, without a kind,
    // the document's selection.
    void Render2D(bool RefreshTree, int SelKind, int SelIndex);
    void ScaleLand();
    // The tree's selection becomes the document's.
    void objTree_NodeClick();
    void hideMarkers(); // shpSelector and Image1

    // The world, its undo stack, Saved and CurrentFile.
    WorldDocument &document() { return m_document; }
    const World &world() const { return m_document.world(); }
    // The object library, as loaded at start-up.
    std::vector<ShapeInfo> Shapes;

    DocumentFiles &files() { return *m_files; }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // MainEditor.cpp
    void createControls();
    void connectPlaceTool();

    // MainMenus.cpp
    void createMenus();
    void fillRecentMenu();

    // MainLayout.cpp
    void layoutControls();

    // MapCommands.cpp
    void clearTreeSelection(); // and the marker and handle with it
    void setZoom(int32_t zoom);
    void checkZoomMenu();
    void followDocument();
    void resetView();
    void showSelection(); // the tree, the marks and the commands follow the document's selection
    std::optional<MapItem> selectedItem() const; // the one selected item, if only one is

    // ViewCommands.cpp: the 3-D View panel and the selection it shows.
    void connectViewDock();

    // StartupAndHelp.cpp
    void mnuManualItem_Click();
    void mnuFeedBack_Click();
    void mnuAboutItem_Click();
    void setCaption(const QString &path);
    void showScrollPosition(const ScrollFractions &position);
    void restorePlacement();
    void storePlacement();
    void openHelpPage(const QString &name);
    void showLibraryWarnings();

    // ExportCommands.cpp
    void mnuSaveItem_Click();

    // LibraryCommands.cpp
    void connectLibraryCommands();
    void importObject();
    void removeFromLibrary();
    // Shows the library as it is now in the list (selecting entry, when there
    // is one), its pictures and the 3-D View panel.
    void showLibrary(int entry);

    // MoveCommands.cpp
    void connectMoveCommands();
    void createNudges();
    void createRotations();
    // Moves the selection by a step in map units: one undoable move.
    void nudgeSelection(double dx, double dy);
    // What the drag handle, at rect, moves the lone selected item by: its
    // centre to the handle's, on the grid while snapping is on.
    QPointF handleOffset(const QRectF &rect) const;
    void Image1_DragMove(const QRectF &rect);
    void Image1_DragDrop(const QRectF &rect);
    void Image1_DragCancel();

    // ToolCommands.cpp
    void createToolBar();
    void useSelectTool(bool on);

    // ClipboardCommands.cpp
    void createClipboardCommands();
    std::vector<AnyItem> selectedRecords() const; // the start position is none
    void copySelection();
    void cutSelection();
    void paste();
    void duplicateSelection();
    void selectAll();

    // GridCommands.cpp
    void createGridMenu();
    void applyGrid(); // draws it, and keeps the choice for the next run

    // MapNavigation.cpp
    void connectNavigation();
    void Picture1_Wheel(QPoint angleDelta, Qt::KeyboardModifiers modifiers, QPointF point);
    QString toolTipAt(QPointF point) const;

    // EditCommands.cpp: removal, the Edit Object dialog opened from the
    // tree, World Properties.
    void connectEditCommands();
    void cmdRemoveObject_Click();
    void objTree_DblClick(); // also Enter on a node
    // Makes the dialog's result for the item of this index (of the dialog's
    // kind), or for the start orientation, one command.
    void ProcessEdit(int index, const frmEdit &dialog);
    void mnuProperties_Click();

    Platform m_platform;
    ProgramFolders m_folders;
    QString m_commandLine;
    QStringList m_libraryWarnings;
    WorldDocument m_document;
    DocumentFiles *m_files = nullptr;
    Palette *m_palette = nullptr;
    PlaceTool *m_placeTool = nullptr;
    SelectTool *m_selectTool = nullptr;
    std::unique_ptr<MapLayers> m_layers;
    Snap m_snap;
    MapScale::RelativePosition m_relativeScroll; // the map's scroll position, kept across zooms
    WebPublisher *m_webPublisher = nullptr;      // made by the first preview
    ViewDock *m_viewDock = nullptr;
    ObjectIcons *m_icons = nullptr;
    // The step that runs changed what the map and the tree show.
    bool m_stale = false;
    // Enabled while something is selected.
    QList<QAction *> m_selectionActions;

    // Controls, named as the program has always named them.
    QWidget *Picture2 = nullptr; // the map's frame
    MapCanvas *Picture1 = nullptr;
    QScrollBar *HScroll1 = nullptr;
    QScrollBar *VScroll1 = nullptr;
    MapOverlay *shpSelector = nullptr;
    DragHandle *Image1 = nullptr;
    QGroupBox *frmCurrent = nullptr;
    ObjectTree *objTree = nullptr;
    QPushButton *cmdRemoveObject = nullptr;
    QStatusBar *Status1 = nullptr;
    QToolBar *tlbMap = nullptr; // the map's tools
    QAction *cmdSelect = nullptr;
    QLabel *lblTool = nullptr; // in the status bar: the active tool

    QMenu *mnuFile = nullptr;
    QAction *mnuNewItem = nullptr;
    QAction *mnuLoadItem = nullptr;
    QAction *mnuSave2Item = nullptr;
    QAction *mnuSaveAs = nullptr;
    QAction *mnuDivide1 = nullptr;
    QAction *mnuProperties = nullptr;
    QAction *mnuImportObject = nullptr;
    QAction *mnuDivide2 = nullptr;
    QAction *mnuSaveItem = nullptr;
    QAction *mnuDivide3 = nullptr;
    QAction *mnuExitItem = nullptr;
    QMenu *mnuRecent = nullptr;
    QMenu *mnuEdit = nullptr;
    QAction *mnuUndo = nullptr;
    QAction *mnuRedo = nullptr;
    QAction *mnuCut = nullptr;
    QAction *mnuCopy = nullptr;
    QAction *mnuPaste = nullptr;
    QAction *mnuDuplicate = nullptr;
    QAction *mnuSelectAll = nullptr;
    QAction *mnuRotateRight = nullptr; // clockwise
    QAction *mnuRotateLeft = nullptr;
    QMenu *mnuViewItem = nullptr;
    QMenu *mnuScaleItem = nullptr;
    QAction *mnu100Item = nullptr;
    QAction *mnu200Item = nullptr;
    QAction *mnu400Item = nullptr;
    QAction *mnuSnapToGrid = nullptr;
    QMenu *mnuGridSize = nullptr;
    QMenu *mnuHelpItem = nullptr;
    QAction *mnuManualItem = nullptr;
    QAction *mnuFeedBack = nullptr;
    QAction *mnuAboutItem = nullptr;
};
