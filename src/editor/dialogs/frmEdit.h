#pragma once
// The Edit Object dialog: changes an item that is already in the world, or
// the start orientation. It is filled from a copy of the record, checks the
// user's input on OK and gives back the edited copy; the main window makes
// that a command of the document (ProcessEdit).

#include "core/model/Types.h"
#include "editor/platform/Platform.h"

#include <QDialog>

#include <variant>

class OrientationPanel;
class PicturePanel;
class QPushButton;
class SurfacePanel;
class TextPanel;

// The start orientation, edited like an item.
struct StartOrientation {
    double StartAngle = 0;
};

using EditSubject = std::variant<ObjectInfo, TextInfo, CubeInfo, PictureInfo, StartOrientation>;

class frmEdit : public QDialog {
    Q_OBJECT

public:
    // Shows the panels the subject's kind has: a wall, floor or ceiling only
    // its colour (the compact form), the start position only the orientation.
    frmEdit(const Platform &platform, EditSubject subject, QWidget *parent = nullptr);

    // The subject with the dialog's values written in.
    EditSubject edited() const;

    // OK: the checks of the picture's sizes and the text, then closes.
    void accept() override;

    // Only the panels the subject shows exist.
    TextPanel *textPanel = nullptr;       // "picObjects1"
    SurfacePanel *surfacePanel = nullptr; // "picObjects2"
    PicturePanel *picturePanel = nullptr; // "picObjects3"
    OrientationPanel *picOrientation = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;

private:
    bool inputIsValid();
    void refuse(QWidget *field, const QString &message);

    Platform m_platform;
    EditSubject m_subject;
};
