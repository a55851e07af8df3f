#pragma once
// The About window: product name, version and slogan until the user presses OK.

#include <QDialog>

class QLabel;
class QPushButton;

class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget *parent);

private:
    QLabel *picIcon = nullptr;
    QLabel *Image1 = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *Label1 = nullptr;
    QPushButton *cmdOK = nullptr;
};
