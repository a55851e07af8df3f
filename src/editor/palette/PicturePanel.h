#pragma once
// The settings of a 2-D picture: its file, its size in feet and whether it
// turns to face the visitor. Used by the palette and by the Edit Object
// dialog.
//
// "Find" chooses a GIF, JPEG or PNG file and measures it; a file that cannot be
// read as such a picture is refused with a message naming it and the reason,
// and the previous choice stays. While a picture's proportions are known,
// typing a height fills in the width and typing a width the height.

#include "core/model/Types.h"
#include "editor/platform/Platform.h"

#include <QWidget>

#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

class PicturePanel : public QWidget {
    Q_OBJECT

public:
    explicit PicturePanel(const Platform &platform, QWidget *parent = nullptr);

    QLabel *lblFileName = nullptr;    // shows the chosen file's full path; read it with fileName()
    QPushButton *cmd2dFind = nullptr; // "Find"
    QLineEdit *txt2DHeight = nullptr; // "Height (Feet)"
    QLineEdit *txt2DWidth = nullptr;  // "Width (Feet)"
    QLineEdit *txt2DOffGround = nullptr; // "Off Ground (Feet)"
    QCheckBox *chk2DBillBoard = nullptr; // "Three-Sixty"

    static const QString FileFilter; // the pictures "Find" offers

    // The chosen picture's full path; empty when none.
    QString fileName() const { return m_fileName; }
    void setFileName(const QString &path);

    // The sizes typed in feet, as map units (feet / 12, kept as a Single);
    // nothing when the box does not hold a number that can be stored
    // (Units::fromFeet).
    std::optional<float> heightUnits() const;
    std::optional<float> widthUnits() const;
    std::optional<float> offGroundUnits() const;

    // A size box that needs correcting, and what to tell the user.
    struct SizeRefusal {
        QLineEdit *field = nullptr;
        QString message;
    };
    // Placing a picture tells an empty box from one that holds no number and
    // asks for "a height for the image"; the Edit Object dialog asks for "a
    // number for height" either way.
    enum class Wording { Placing, Editing };
    // The first of height, width and off ground that does not hold a number
    // that can be stored, or one that does not fit the world (a size of 0 or
    // less, a negative height off the ground, more than the land is wide), or
    // nothing. Once height and width pass, an empty off-ground box means "on
    // the ground" and is set to "0".
    std::optional<SizeRefusal> sizeRefusal(Wording wording);

    // The fields of a picture record this panel shows: FileName, Height,
    // Width and OffGround in feet, Billboard; the aspect from Width / Height
    // (0 when Height is 0).
    void showRecord(const PictureInfo &picture);

    // Empties the file name and the three size boxes and forgets the aspect.
    void clear();

    // The "Find" button: choose a picture file and measure it.
    void cmd2dFind_Click();

signals:
    void fileNameChanged(const QString &path);

private:
    void keepProportion(QLineEdit *typed, QLineEdit *other, bool heightTyped);

    Platform m_platform;
    QString m_fileName;
    // Width divided by height of the picture; 0 while unknown. Set by "Find"
    // from the file, or by showRecord from the stored size.
    double m_aspect = 0;
};
