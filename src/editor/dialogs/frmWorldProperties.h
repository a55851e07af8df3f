#pragma once
// The World Properties dialog: the sky, the ground surface and the
// background music of the exported world. It changes nothing itself; the
// caller reads settings() after OK.

#include "core/model/WorldDocument.h"

#include <QDialog>

class FileDialogs;
class QComboBox;
class QLabel;
class QPushButton;

class frmWorldProperties : public QDialog {
    Q_OBJECT

public:
    // Find starts in the music's folder, or in musicFolder while there is none.
    frmWorldProperties(FileDialogs &fileDialogs, const WorldSettings &settings,
                       const QString &musicFolder = QString(), QWidget *parent = nullptr);

    // The settings it was opened with, with the sky, ground and music shown.
    WorldSettings settings() const;

    QComboBox *cmbSky = nullptr;
    QComboBox *cmbGround = nullptr;
    QLabel *lblBackground = nullptr;
    QPushButton *cmdFind = nullptr;
    QPushButton *Command1 = nullptr; // clears the music
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;

private:
    void cmdFind_Click();
    void showMusic(const QString &path);

    FileDialogs &m_fileDialogs;
    WorldSettings m_settings;
    QString m_musicFolder;
};
