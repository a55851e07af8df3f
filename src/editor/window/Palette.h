#pragma once
// The palette: the tab strip TabStrip1 over its four panels, picObjects(0)
// to (3) (the object library's list List1, the text, the walls and streets
// with optCubes and the surface colour, the picture), and below them
// picOrientation, the orientation and link of what is placed. It holds what
// the next click or drag on the map places; the place tool reads it here.

#include "core/library/ObjectLibrary.h"
#include "editor/platform/Platform.h"
#include "editor/window/MainLayout.h"

#include <QObject>

#include <array>
#include <optional>
#include <vector>

class ObjectList;
class OrientationPanel;
class PicturePanel;
class QListWidget;
class QRadioButton;
class QTabWidget;
class SurfacePanel;
class TextPanel;

class Palette : public QObject {
    Q_OBJECT

public:
    enum Panel { ObjectsPanel = 0, TextsPanel = 1, CubesPanel = 2, PicturesPanel = 3 };

    // An option of the walls panel: the kind a drag draws, and its name in
    // the status bar.
    struct CubeOption {
        const QString &kind;
        const char *drawn;
    };

    // A row of the object list: its entry in the library and its caption.
    struct ListedObject {
        int entry;
        QString name;
    };

    // The controls lie on the window's central widget, the panels over the
    // tab strip; the first panel shows.
    Palette(const Platform &platform, QWidget *central);

    // The object list shows the library (programFolder holds the shipped objects).
    void fillObjectList(const std::vector<ShapeInfo> &shapes, const QString &programFolder);
    ObjectList &objectList() const { return *m_objectList; }

    int currentPanel() const;                         // the chosen tab
    void showPanel(Panel panel);                      // as if its tab were chosen
    bool isShown(Panel panel) const;                  // on the screen now
    std::optional<ListedObject> chosenObject() const; // nothing unless a row is selected
    const CubeOption &chosenCube() const;
    int32_t surfaceColor() const;
    TextPanel &text() const { return *picText; }
    PicturePanel &picture() const { return *picPicture; }
    OrientationPanel &orientation() const { return *picOrientation; }

    // For the window's layout: the sizes the palette needs, and its place.
    void measure(MainLayout::Metrics &metrics) const;
    void place(const MainLayout::Geometry &geometry);

signals:
    // The user chose something to place, not an item on the map: an object
    // in the list, a tab, a kind of wall or street, or a picture (Find).
    void userChose();
    // What the next click or drag places, or the panel, changed.
    void changed();

private:
    void TabStrip1_Click();
    void optCubes_Click();

    QTabWidget *TabStrip1 = nullptr;
    std::array<QWidget *, 4> picObjects{};
    ObjectList *m_objectList = nullptr; // picObjects[0]: search, list, import and removal
    QListWidget *List1 = nullptr; // the library, row i showing Shapes[i]
    TextPanel *picText = nullptr; // picObjects[1]
    // On picObjects[2]: street, floor, wall, ceiling, shrubbery, and the
    // surface colour shown for floors, walls and ceilings.
    std::array<QRadioButton *, 5> optCubes{};
    SurfacePanel *picSurface = nullptr;
    PicturePanel *picPicture = nullptr; // picObjects[3]
    OrientationPanel *picOrientation = nullptr;
};
