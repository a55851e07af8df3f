#include "editor/dialogs/frmSplash.h"

#include "editor/dialogs/Artwork.h"

#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTimer>

frmSplash::frmSplash(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), m_picture(splashPicture())
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Lotwright"));
    setWindowIcon(programIcon());
    setFixedSize(m_picture.size());

    Label2 = new QLabel(
        QStringLiteral(
            "Please read the manual in order to derive the most enjoyment from this tool."),
        this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignCenter);
    // A pale band keeps the text readable over the drawing.
    Label2->setStyleSheet(
        QStringLiteral("QLabel { color: #1d3557; background: rgba(255, 255, 255, 200);"
                       " border-radius: 4px; padding: 3px 8px; font-size: 12px; }"));
    Label2->setGeometry(20, 146, 360, 40);

    if (const QScreen *screen = this->screen()) {
        QRect place = rect();
        place.moveCenter(screen->availableGeometry().center());
        move(place.topLeft());
    }

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setInterval(2000);
    connect(Timer1, &QTimer::timeout, this, &frmSplash::Timer1_Timer);
    Timer1->start();
}

void frmSplash::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawImage(0, 0, m_picture);
}

void frmSplash::Timer1_Timer()
{
    close(); // deletes the window once control returns to the event loop
    emit finished();
}
