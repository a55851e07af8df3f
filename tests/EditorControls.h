#pragma once
// The main window's controls, found as an assistive tool finds them: by the
// name the program knows them by. A name that finds no control of its type,
// or more than one, stops the run. Shared by the widget tests and benchmarks.

#include "editor/map/MapCanvas.h"
#include "editor/map/MapOverlay.h"
#include "editor/palette/DragHandle.h"
#include "editor/palette/ObjectTree.h"
#include "editor/palette/OrientationPanel.h"
#include "editor/palette/PicturePanel.h"
#include "editor/palette/SurfacePanel.h"
#include "editor/palette/TextPanel.h"
#include "editor/window/MainEditor.h"

#include <QtWidgets>

template <typename T> T *findNamed(const QObject &parent, const QString &name)
{
    const QList<T *> found = parent.findChildren<T *>(name);
    if (found.size() != 1)
        qFatal("%lld controls named %s of type %s", qlonglong(found.size()), qPrintable(name),
               T::staticMetaObject.className());
    return found.first();
}

// An accessor named as the control is: Picture1(e).
#define NAMED_CONTROL(Type, name)                                                                  \
    inline Type *name(const MainEditor &e) { return findNamed<Type>(e, QStringLiteral(#name)); }

// The map and its frame, scroll bars and markers.
NAMED_CONTROL(QWidget, Picture2)
NAMED_CONTROL(MapCanvas, Picture1)
NAMED_CONTROL(QScrollBar, HScroll1)
NAMED_CONTROL(QScrollBar, VScroll1)
NAMED_CONTROL(MapOverlay, shpSelector)
NAMED_CONTROL(DragHandle, Image1)
NAMED_CONTROL(MapOverlay, XLine)
NAMED_CONTROL(MapOverlay, shpSelectBox)
NAMED_CONTROL(MapOverlay, YLine)
NAMED_CONTROL(QTimer, Timer1)

// The palette and the tree. The text and picture panels are picObjects(1) and (3).
NAMED_CONTROL(QTabWidget, TabStrip1)
NAMED_CONTROL(QListWidget, List1)
NAMED_CONTROL(SurfacePanel, picSurface)
NAMED_CONTROL(OrientationPanel, picOrientation)
NAMED_CONTROL(ObjectTree, objTree)
NAMED_CONTROL(QPushButton, cmdRemoveObject)
NAMED_CONTROL(QAction, cmdSelect)
NAMED_CONTROL(QLabel, lblTool)
NAMED_CONTROL(QStatusBar, Status1)
inline TextPanel *picText(const MainEditor &e) { return findNamed<TextPanel>(e, "picObjects1"); }
inline PicturePanel *picPicture(const MainEditor &e)
{
    return findNamed<PicturePanel>(e, "picObjects3");
}
inline QRadioButton *optCubes(const MainEditor &e, int i)
{
    return findNamed<QRadioButton>(e, QStringLiteral("optCubes%1").arg(i));
}

// The menus.
NAMED_CONTROL(QAction, mnuNewItem)
NAMED_CONTROL(QAction, mnuLoadItem)
NAMED_CONTROL(QAction, mnuSave2Item)
NAMED_CONTROL(QAction, mnuSaveAs)
NAMED_CONTROL(QAction, mnuProperties)
NAMED_CONTROL(QAction, mnuSaveItem)
NAMED_CONTROL(QAction, mnuExitItem)
NAMED_CONTROL(QAction, mnuUndo)
NAMED_CONTROL(QAction, mnuRedo)
NAMED_CONTROL(QAction, mnuCopy)
NAMED_CONTROL(QAction, mnuPaste)
NAMED_CONTROL(QAction, mnuSnapToGrid)
NAMED_CONTROL(QMenu, mnuGridSize)
NAMED_CONTROL(QMenu, mnuViewItem)
NAMED_CONTROL(QAction, mnu100Item)
NAMED_CONTROL(QAction, mnu200Item)
NAMED_CONTROL(QAction, mnu400Item)
NAMED_CONTROL(QAction, mnuManualItem)
NAMED_CONTROL(QAction, mnuFeedBack)

#undef NAMED_CONTROL
