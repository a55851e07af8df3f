#pragma once
// The "3-D View" panel beside the map: the world being edited, drawn live by
// the program's 3-D view from a LiveScene that follows the document. Two
// buttons choose the way of looking (Aerial, Visitor). A click on an item
// in the picture reports it, a double-click asks to edit it; the selected
// items are marked. Where OpenGL cannot be had the panel says why, and
// nothing else is affected.
//
// The scene is made when the panel is first shown with a world to show, so
// that a hidden panel costs nothing.

#include "core/library/ObjectLibrary.h"
#include "core/model/WorldDocument.h"

#include <QDockWidget>

#include <functional>
#include <memory>
#include <vector>

class LiveScene;
class QLabel;
class QToolButton;
class WorldView;

class ViewDock : public QDockWidget
{
    Q_OBJECT

public:
    // Empty when an OpenGL context can be had, else the reason why not.
    using ContextCheck = std::function<QString()>;

    ViewDock(ContextCheck contextCheck, QWidget *parent = nullptr);
    ~ViewDock() override;

    // The world to show once the panel is visible; the library is the one
    // the items are placed from.
    void follow(const WorldDocument &document, const std::vector<ShapeInfo> &shapes,
                const QString &programFolder);
    void setMarked(const ItemRefs &items);
    // Whether OpenGL can be had here: the panel is shown at first only then.
    bool canDraw() const { return !m_contextCheck || m_contextCheck().isEmpty(); }

    LiveScene *scene() const { return m_scene.get(); }
    WorldView *view() const { return m_view; } // none without OpenGL
    QLabel *message() const { return m_message; } // why there is no view

    // Wide enough at first to see something in; the user may change it.
    QSize sizeHint() const override { return {380, 380}; }

signals:
    void itemClicked(const ItemRef &item); // KindNone: a click on nothing
    void itemDoubleClicked(const ItemRef &item);

private:
    void start();
    ItemRef itemAt(const QPoint &pixel) const;

    ContextCheck m_contextCheck;
    const WorldDocument *m_document = nullptr;
    const std::vector<ShapeInfo> *m_shapes = nullptr;
    QString m_programFolder;
    ItemRefs m_marked;

    std::unique_ptr<LiveScene> m_scene;
    WorldView *m_view = nullptr;       // owned by its container
    QWidget *m_container = nullptr;
    QLabel *m_message = nullptr;
    QToolButton *m_aerial = nullptr;
    QToolButton *m_visitor = nullptr;
};
