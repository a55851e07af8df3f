#pragma once
// The splash window: shown first, for two seconds, then it closes itself and
// hands over to the main window through finished().

#include <QImage>
#include <QWidget>

class QLabel;
class QTimer;

class frmSplash : public QWidget
{
    Q_OBJECT

public:
    explicit frmSplash(QWidget *parent = nullptr);

signals:
    void finished(); // emitted once, as the window closes itself

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void Timer1_Timer();

    QImage m_picture;
    QLabel *Label2 = nullptr;
    QTimer *Timer1 = nullptr;
};
