#pragma once
// The program's 3-D view, in the preview window and beside the map: a world
// drawn with Coin3D into an OpenGL window, either read from an exported file
// or a graph its owner keeps changing (the world being edited).
// It is a QOpenGLWindow (placed in a widget with createWindowContainer)
// rather than a QOpenGLWidget: the widget copies every frame through an
// extra framebuffer into its window, which with Mesa's software renderer
// under a virtual X server costs more than drawing the world itself.
//
// Two ways of looking:
// - Visitor (walking, as in a VRML97 browser's Walk mode): Up/W and Down/S
//   walk forward and back, Left/A and Right/D turn, at a steady speed while
//   held (Shift: three times as fast); Home returns to the start viewpoint.
//   A left drag looks around and turns; the wheel steps forward and back.
//   The eye stays at the start viewpoint's height, and the visitor stops
//   short of anything in the way, as NavigationInfo's avatarSize says
//   (closer than its first value, higher than its third).
// - Aerial: the camera looks down at a point of the world from an angle. A
//   left drag (or Left and Right) turns round that point and tilts, the
//   wheel (or Up and Down) comes closer and goes away, a right or middle
//   drag moves the point; Home frames the whole world.
// A click that is no drag, and a double-click, are reported with the pixel;
// pathAt tells what lies there. Other keys go to keyTarget (the window
// holding the view: Escape, Tab, Enter).

#include "scene/CollisionParts.h"
#include "scene/VrmlScene.h"

#include <QElapsedTimer>
#include <QOpenGLWindow>
#include <QPointer>
#include <QObject>
#include <QPoint>
#include <QSet>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

class SoDirectionalLight;
class SoGroup;
class SoPath;
class SoPerspectiveCamera;
class SoSceneManager;
class SoSeparator;

class WorldView : public QOpenGLWindow
{
    Q_OBJECT

public:
    WorldView();
    ~WorldView() override;

    enum class Mode { Visitor, Aerial };

    // Reads the world file. On failure the view stays empty and the result
    // says why.
    std::optional<QString> load(const QString &path);
    // Shows a graph that its owner keeps and changes; call worldChanged
    // after each change.
    void setWorld(SoGroup *world);
    // The world's extent and the parts a visitor bumps into are taken again;
    // startMoved: the visitor goes to the new start viewpoint too.
    void worldChanged(bool startMoved);

    Mode mode() const { return m_mode; }
    void setMode(Mode mode);
    // Aerial: the whole world in view, seen from the south at an angle: the
    // box homeBox gives when it is set and not empty, else the world's.
    void frameAll();
    void setHomeBox(std::function<SbBox3f()> homeBox) { m_homeBox = std::move(homeBox); }

    // What lies under a pixel of the view, or nothing.
    using PickedPath = std::unique_ptr<SoPath, void (*)(SoPath *)>;
    PickedPath pathAt(const QPoint &pixel) const;
    bool hasMusic() const { return m_scene && m_scene->hasSound(); }

    // Navigation, also used by the keys and the mouse. Distances in world
    // units (a walk stops short of what is in the way; aerial: comes closer),
    // angles in radians (positive turns left, looks up; aerial: turns the
    // world right, tilts down).
    void walk(float distance);
    void turn(float angle);
    void look(float angle);
    void goHome();

    // The eye, and a frame drawn at once and read back: for tests.
    SbVec3f eyePosition() const;
    QImage renderedFrame();

    // Asks for a frame on the event loop's next pass. QWindow::update waits
    // for the window system's next frame, which X11 without a compositor
    // stands in for with a 5 ms timer: a tenth of a walk's frames lost.
    void redraw();

    // Where the keys go that the view does not use.
    void setKeyTarget(QObject *target) { m_keyTarget = target; }

signals:
    void frameDrawn();
    // A click on an anchored object: its first url, as written in the file.
    void anchorClicked(const QString &url);
    void clicked(const QPoint &pixel);
    void doubleClicked(const QPoint &pixel);

protected:
    bool event(QEvent *event) override;
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    static QEvent::Type frameRequest();
    void placeCamera();
    void standAtStart(); // the visitor's eye, whichever way of looking is on
    void orbit(float yaw, float tilt);
    void pan(const QPoint &moved);
    void moveHeld(float seconds); // walks and turns by the keys held, for that long
    void walkTick();
    QString anchorAt(const QPoint &pixel) const;
    void forwardKey(QKeyEvent *event);

    std::unique_ptr<Scene> m_scene; // a world read from a file
    SoGroup *m_world = nullptr;     // what is shown: m_scene's root, or an owner's graph
    SoSeparator *m_root = nullptr;  // camera, headlight, world; referenced
    SoPerspectiveCamera *m_camera = nullptr;
    SoDirectionalLight *m_headlight = nullptr; // only when the world asks for one
    std::unique_ptr<SoSceneManager> m_manager;
    CollisionParts m_collision;
    SbBox3f m_bounds;
    bool m_collisionsStale = false; // taken again before the next step

    Mode m_mode = Mode::Visitor;
    bool m_framed = false; // whether the aerial camera has been placed yet
    std::function<SbBox3f()> m_homeBox;
    SbVec3f m_target;      // aerial: the point looked at
    float m_yaw = 0;       // aerial: 0 looks from the south (+z), along -z
    float m_tilt = 0.9f;   // aerial: the angle down from the horizon
    float m_distance = 100;

    Viewpoint m_start;
    SbVec3f m_eye;
    float m_heading = 0; // about the vertical axis; 0 looks along -z
    float m_pitch = 0;
    float m_speed = 1;   // units per second
    Avatar m_avatar;

    QSet<int> m_held; // navigation keys held down
    bool m_fast = false;
    QTimer m_walkTimer;
    QElapsedTimer m_sinceTick;
    QTimer m_sensorTimer; // drives Coin's timer and delay queues

    QPointer<QObject> m_keyTarget;
    QPoint m_pressedAt;
    QPoint m_lastDrag;
    Qt::MouseButton m_dragButton = Qt::NoButton;
    bool m_dragging = false;
    bool m_framePosted = false;
};
