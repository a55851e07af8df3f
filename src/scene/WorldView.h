#pragma once
// The 3-D view of the preview window: an exported world drawn with Coin3D
// into an OpenGL window, walked through as in a VRML97 browser's Walk mode.
// It is a QOpenGLWindow (placed in a widget with createWindowContainer)
// rather than a QOpenGLWidget: the widget copies every frame through an
// extra framebuffer into its window, which with Mesa's software renderer
// under a virtual X server costs more than drawing the world itself.
//
// Keys: Up/W and Down/S walk forward and back, Left/A and Right/D turn, at a
// steady speed while held (Shift: three times as fast); Home returns to the
// start viewpoint. A left drag looks around and turns; the wheel steps
// forward and back. The eye stays at the start viewpoint's height, and the
// visitor stops short of anything in the way, as NavigationInfo's avatarSize
// says (closer than its first value, higher than its third). Other keys
// go to keyTarget (the window holding the view: Escape, Tab, Enter).

#include "scene/CollisionParts.h"
#include "scene/VrmlScene.h"

#include <QElapsedTimer>
#include <QOpenGLWindow>
#include <QPointer>
#include <QObject>
#include <QPoint>
#include <QSet>
#include <QTimer>

#include <memory>
#include <optional>

class SoDirectionalLight;
class SoPerspectiveCamera;
class SoSceneManager;
class SoSeparator;

class WorldView : public QOpenGLWindow
{
    Q_OBJECT

public:
    WorldView();
    ~WorldView() override;

    // Reads the world file. On failure the view stays empty and the result
    // says why.
    std::optional<QString> load(const QString &path);
    bool hasMusic() const { return m_scene && m_scene->hasSound(); }

    // Navigation, also used by the keys and the mouse. Distances in world
    // units (a walk stops short of what is in the way), angles in radians
    // (positive turns left, looks up).
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
    void wheelEvent(QWheelEvent *event) override;

private:
    static QEvent::Type frameRequest();
    void placeCamera();
    void moveHeld(float seconds); // walks and turns by the keys held, for that long
    void walkTick();
    QString anchorAt(const QPoint &pixel) const;
    void forwardKey(QKeyEvent *event);

    std::unique_ptr<Scene> m_scene;
    SoSeparator *m_root = nullptr; // camera, headlight, scene; referenced
    SoPerspectiveCamera *m_camera = nullptr;
    SoDirectionalLight *m_headlight = nullptr; // only when the world asks for one
    std::unique_ptr<SoSceneManager> m_manager;
    CollisionParts m_collision;
    SbBox3f m_bounds;

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
    bool m_dragging = false;
    bool m_framePosted = false;
};
