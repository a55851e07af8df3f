#pragma once
// The map editor's main window. It holds the world document and the object
// library and delegates: drawing to mapview/, the tree to palette/, file work
// to model/WorldFile, every change of the world to the document's commands.
// Its code is split by concern: MainEditor.cpp (controls and menus),
// MainLayout.cpp (placing the controls), MapCommands.cpp (map, zoom, tree
// selection, redrawing on the document's notifications), DocumentCommands.cpp
// (start-up, New, Open, Save, recent files, closing, help pages),
// ExportCommands.cpp (the export and its preview), PlacementCommands.cpp (the
// palette, placing and drawing with the mouse), MoveCommands.cpp (dragging and
// nudging items), MapNavigation.cpp (wheel, tool tips).
// EditCommands.cpp (removal, editing, World Properties).

#include "core/files/FileServices.h"
#include "core/library/Footprint.h"
#include "editor/map/MapScale.h"
#include "core/model/WorldDocument.h"
#include "editor/palette/DragHandle.h"
#include "core/library/ObjectLibrary.h"
#include "editor/platform/Platform.h"

#include <QMainWindow>

#include <array>
#include <vector>

class DocumentFiles;
struct ScrollFractions;
class MapCanvas;
class frmEdit;
class MapOverlay;
class ObjectTree;
class Palette;
class PlaceTool;
class QAction;
class QGroupBox;
class WebPublisher;
class QMenu;
class QPushButton;
class QScrollBar;
class QStatusBar;

class MainEditor : public QMainWindow {
    Q_OBJECT

public:
    // commandLine: everything after the program's name, arguments joined by blanks.
    MainEditor(const Platform &platform, const QString &programFolder, const QString &commandLine,
               QWidget *parent = nullptr);
    ~MainEditor() override;

    // Start-up: loads the library, restores the window placement, opens the
    // world named on the command line or starts a new one, draws the map.
    void runLoadSequence();

    // The map and the tree (MapCommands.cpp).
    void Render2D(bool RefreshTree, int SelKind, int SelIndex);
    void ScaleLand();
    void objTree_NodeClick();
    void hideMarkers(); // shpSelector and Image1

    // New, Open, Save, Save As and the recent worlds.
    DocumentFiles &files() { return *m_files; }

    QString programFolder() const { return m_programFolder; }
    const Platform &platform() const { return m_platform; }

    // The world, its undo stack, Saved and CurrentFile. Views redraw from its
    // notifications.
    WorldDocument document;
    const World &world() const { return document.world(); }
    std::vector<ShapeInfo> Shapes;

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

    QMenu *mnuFile = nullptr;
    QAction *mnuNewItem = nullptr;
    QAction *mnuLoadItem = nullptr;
    QAction *mnuSave2Item = nullptr;
    QAction *mnuSaveAs = nullptr;
    QAction *mnuDivide1 = nullptr;
    QAction *mnuProperties = nullptr;
    QAction *mnuDivide2 = nullptr;
    QAction *mnuSaveItem = nullptr;
    QAction *mnuDivide3 = nullptr;
    QAction *mnuExitItem = nullptr;
    QMenu *mnuRecent = nullptr;
    QMenu *mnuEdit = nullptr;
    QAction *mnuUndo = nullptr;
    QAction *mnuRedo = nullptr;
    QMenu *mnuViewItem = nullptr;
    QMenu *mnuScaleItem = nullptr;
    QAction *mnu100Item = nullptr;
    QAction *mnu200Item = nullptr;
    QAction *mnu400Item = nullptr;
    QMenu *mnuHelpItem = nullptr;
    QAction *mnuManualItem = nullptr;
    QAction *mnuFeedBack = nullptr;
    QAction *mnuAboutItem = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // MainEditor.cpp
    void createControls();
    void createMenus();

    // MainLayout.cpp
    void layoutControls();

    // MapCommands.cpp
    void setZoom(int32_t zoom);
    void checkZoomMenu();
    void followDocument();
    void resetView();
    void selectAfterChange(int kind, int index);
    void selectStart();

    // DocumentCommands.cpp
    void mnuManualItem_Click();
    void mnuFeedBack_Click();
    void mnuAboutItem_Click();
    void setCaption(const QString &path);
    void showScrollPosition(const ScrollFractions &position);
    void fillRecentMenu();
    void restorePlacement();
    void storePlacement();
    void openHelpPage(const QString &name);
    void showLibraryWarnings();

    // ExportCommands.cpp
    void mnuSaveItem_Click();

    Platform m_platform;
    QString m_programFolder;
    QString m_commandLine;
    QStringList m_libraryWarnings;
    DocumentFiles *m_files = nullptr;
    MapScale::RelativePosition m_relativeScroll; // the map's scroll position, kept across zooms
    WebPublisher *m_webPublisher = nullptr;      // made by the first preview

    // Placing (PlaceTool), moving with the mouse and the keyboard
    // (MoveCommands.cpp) and getting about the map (MapNavigation.cpp).
public:
    // Moves the selected object, text, picture or start position by a step
    // in map units: one undoable move.
    void nudgeSelection(double dx, double dy);

private:
    void connectPlaceTool();
    void clearTreeSelection(); // and the marker and handle with it
    void connectMoveCommands();
    void createNudges();
    void Image1_DragStart();
    void Image1_DragMove(const QRectF &rect);
    void Image1_DragDrop(const QRectF &rect);
    void Image1_DragCancel();
    void moveSelectionTo(QPointF centre);
    void connectNavigation();
    void Picture1_Wheel(QPoint angleDelta, Qt::KeyboardModifiers modifiers, QPointF point);
    QString toolTipAt(QPointF point) const;

    Palette *m_palette = nullptr;
    PlaceTool *m_placeTool = nullptr;
    std::optional<MapItem> m_dragged; // drawn by the handle while it is dragged

    // Changing what is placed (EditCommands.cpp): removal, the Edit Object
    // dialog opened from the tree, World Properties.
public:
    void cmdRemoveObject_Click();
    void objTree_DblClick(); // also Enter on a node
    // Makes the dialog's result for the item of this index (of the dialog's
    // kind), or for the start orientation, one command.
    void ProcessEdit(int index, const frmEdit &dialog);
    void mnuProperties_Click();

private:
    void connectEditCommands();
};
