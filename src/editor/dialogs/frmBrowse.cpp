#include "editor/dialogs/frmBrowse.h"

#include "core/files/FileServices.h"
#include "scene/WorldView.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

QString frmBrowse::checkOpenGL()
{
    const QString platform = QGuiApplication::platformName();
    // These platforms draw no OpenGL widget, even where a context can be made.
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        return tr("this display (%1) cannot show OpenGL").arg(platform);
    QOpenGLContext context;
    if (!context.create())
        return tr("no OpenGL context could be created on this display");
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!surface.isValid() || !context.makeCurrent(&surface))
        return tr("the OpenGL context of this display cannot be used");
    context.doneCurrent();
    return QString();
}

frmBrowse::frmBrowse(const Platform &platform, QWidget *parent, ContextCheck contextCheck)
    : QDialog(parent), m_platform(platform), m_contextCheck(std::move(contextCheck))
{
    setWindowTitle(tr("Preview"));
    setSizeGripEnabled(true);

    lblHelp = new QLabel(this);
    lblHelp->setObjectName(QStringLiteral("lblHelp"));
    lblHelp->setWordWrap(true);

    cmdShowFolder = new QPushButton(tr("Show &Folder"), this);
    cmdShowFolder->setToolTip(tr("Opens the ToGo folder, which holds the exported world"));
    connect(cmdShowFolder, &QPushButton::clicked, this, &frmBrowse::cmdShowFolder_Click);
    cmdClose = new QPushButton(tr("Close"), this);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);

    m_buttons = new QHBoxLayout;
    m_buttons->addWidget(cmdShowFolder);
    m_buttons->addStretch(1);
    m_buttons->addWidget(cmdClose);

    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(1, 1, 1, 6);
    m_layout->addWidget(lblHelp);
    m_layout->addLayout(m_buttons);
    lblHelp->setContentsMargins(6, 2, 6, 0);
    m_buttons->setContentsMargins(6, 0, 6, 0);

    // Large enough to look around in, smaller than the screen.
    QSize size(1000, 760);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableSize() * 0.9);
    resize(size);

    Timer1 = new QTimer(this);
    Timer1->setInterval(500);
    connect(Timer1, &QTimer::timeout, this, &frmBrowse::Timer1_Timer);
    Timer1->start();
}

frmBrowse::~frmBrowse() = default;

QPushButton *frmBrowse::addButton(const QString &text)
{
    auto *button = new QPushButton(text, this);
    m_buttons->insertWidget(m_buttons->indexOf(cmdClose) - 1, button); // before the stretch
    return button;
}

void frmBrowse::Timer1_Timer()
{
    Timer1->stop();
    setWindowTitle(BrowseFile);
}

void frmBrowse::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_loaded) {
        m_loaded = true;
        loadWorld();
    }
}

void frmBrowse::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    // The view's container passes the focus on to the view's native window
    // only when the focus moves to it; focus given before the dialog is
    // active never reaches the view, and the keys went to a button.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && picView &&
        picView->hasFocus())
        WorldView1->requestActivate();
}

void frmBrowse::loadWorld()
{
    const QString unavailable = m_contextCheck ? m_contextCheck() : QString();
    if (!unavailable.isEmpty()) {
        showUnavailable(unavailable);
        return;
    }
    auto view = std::make_unique<WorldView>();
    if (const std::optional<QString> error = view->load(BrowseFile)) {
        showUnavailable(tr("the world file %1 could not be read.\n%2")
                            .arg(quoted(BrowseFile), *error));
        return;
    }
    WorldView1 = view.release();
    WorldView1->setObjectName(QStringLiteral("WorldView1"));
    WorldView1->setKeyTarget(this);
    picView = QWidget::createWindowContainer(WorldView1, this); // owns the view
    picView->setObjectName(QStringLiteral("picView"));
    picView->setAccessibleName(tr("3-D view of the exported world"));
    picView->setFocusPolicy(Qt::StrongFocus);
    picView->setMinimumSize(160, 120);
    m_layout->insertWidget(0, picView, 1);
    picView->show(); // the window is already showing
    connect(WorldView1, &WorldView::anchorClicked, this, &frmBrowse::openAnchor);
    QString help = tr("Arrow keys or W A S D: walk and turn (Shift: faster).  Drag: look "
                      "around.  Wheel: step.  Home: back to the start.  Click a linked object "
                      "to open it.");
    if (WorldView1->hasMusic())
        help += QLatin1String("  ") + tr("Music is not played in the preview");
    lblHelp->setText(help);
    picView->setFocus();
}

void frmBrowse::showUnavailable(const QString &reason)
{
    lblMessage = new QLabel(this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setWordWrap(true);
    lblMessage->setAlignment(Qt::AlignCenter);
    lblMessage->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblMessage->setText(tr("The 3-D preview cannot be shown: %1\n\nThe world was exported to "
                           "%2. You can open it with another VRML viewer.")
                            .arg(reason, quoted(BrowseFile)));
    m_layout->insertWidget(0, lblMessage, 1);
    lblHelp->hide();
    cmdDefaultViewer = addButton(tr("Open with &Default Viewer"));
    cmdDefaultViewer->setDefault(true);
    lblMessage->show(); // the window is already showing
    cmdDefaultViewer->show();
    connect(cmdDefaultViewer, &QPushButton::clicked, this, &frmBrowse::cmdDefaultViewer_Click);
    cmdDefaultViewer->setFocus();
}

void frmBrowse::openAnchor(const QString &url)
{
    // A relative link is taken from the world file's folder, as a browser would.
    const QUrl link = QUrl::fromLocalFile(BrowseFile).resolved(QUrl(url));
    if (!m_platform.shell->openUrl(link))
        m_platform.messages->warn(this, tr("No program could open the link %1.")
                                            .arg(quoted(link.toDisplayString())));
}

void frmBrowse::cmdShowFolder_Click()
{
    const QString folder = QFileInfo(BrowseFile).absolutePath();
    if (!m_platform.shell->openLocalFile(folder))
        m_platform.messages->warn(this,
                                  tr("No program could show the folder %1.").arg(quoted(folder)));
}

void frmBrowse::cmdDefaultViewer_Click()
{
    if (!m_platform.shell->openLocalFile(BrowseFile))
        m_platform.messages->warn(
            this, tr("No program could open %1.\nInstall a VRML viewer, or open the file with one.")
                      .arg(quoted(BrowseFile)));
}
