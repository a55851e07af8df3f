#pragma once
// The preview window: shows an exported world as a visitor would see it, in
// our own 3-D view (WorldView). Where OpenGL cannot be had it says why and
// offers to hand the file to the desktop's default viewer instead.
//
// Set BrowseFile, then exec() it: the world is read when the window is first
// shown, and the caption becomes BrowseFile when Timer1 first fires.

#include "editor/platform/Platform.h"

#include <QDialog>
#include <QString>

#include <functional>

class QHBoxLayout;
class QLabel;
class QPushButton;
class QTimer;
class QVBoxLayout;
class WorldView;

class frmBrowse : public QDialog
{
    Q_OBJECT

public:
    // Empty when an OpenGL context can be had, else the reason why not.
    using ContextCheck = std::function<QString()>;
    static QString checkOpenGL();

    explicit frmBrowse(const Platform &platform, QWidget *parent = nullptr,
                       ContextCheck contextCheck = checkOpenGL);
    ~frmBrowse() override;

    // A further button in the row at the bottom, before Close; the caller
    // connects it.
    QPushButton *addButton(const QString &text);

    QString BrowseFile; // the file shown, full path

    QTimer *Timer1 = nullptr;         // 500 ms, once: the caption
    WorldView *WorldView1 = nullptr;  // the 3-D view; none when it cannot be had
    QWidget *picView = nullptr;       // the widget that holds WorldView1
    QLabel *lblMessage = nullptr;     // why there is no 3-D view
    QLabel *lblHelp = nullptr;        // how to walk, at the bottom
    QPushButton *cmdShowFolder = nullptr;
    QPushButton *cmdDefaultViewer = nullptr; // only without a 3-D view
    QPushButton *cmdClose = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void Timer1_Timer();
    void loadWorld();
    void showUnavailable(const QString &reason);
    void openAnchor(const QString &url);
    void cmdShowFolder_Click();
    void cmdDefaultViewer_Click();

    Platform m_platform;
    ContextCheck m_contextCheck;
    bool m_loaded = false;
    QVBoxLayout *m_layout = nullptr;
    QHBoxLayout *m_buttons = nullptr;
};
