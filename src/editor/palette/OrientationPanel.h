#pragma once
// The orientation and link settings shared by 3-D objects, texts and
// pictures (and the orientation of the start position): four option buttons
// laid out as a cross and the anchor with its target frame. Used by the
// palette and by the Edit Object dialog.

#include <QWidget>

#include <array>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

class OrientationPanel : public QWidget {
    Q_OBJECT

public:
    explicit OrientationPanel(QWidget *parent = nullptr);

    QLabel *Label1 = nullptr; // "Object Orientation" (the start position: "Startup Orientation")
    QRadioButton *OptUp = nullptr;
    QRadioButton *optDown = nullptr; // chosen at start
    QRadioButton *OptLeft = nullptr;
    QRadioButton *optRight = nullptr;
    std::array<QLabel *, 2> Label3{}; // the captions "Anchor (URL)" and "Anchor Target"
    QLineEdit *txtAnchor = nullptr;
    QComboBox *cmbTarget = nullptr; // editable: "_blank", "_parent", "_self", "_top" or typed

    // An item's Rotation from the chosen option (3.14, 0, -1.57, 1.57 for
    // up, down, left, right), and the option for a stored Rotation; a value
    // that is none of the four chooses "down".
    float rotation() const;
    void setRotation(float rotation);

    // The same for the start position's StartAngle (0, 3.14, 1.57, -1.57 for
    // up, down, left, right).
    double startAngle() const;
    void setStartAngle(double angle);

    // The anchor typed, emptying the box: each link is given to one item.
    QString takeAnchor();
    QString target() const;

    // Shows or hides the anchor, the target and their captions.
    void setAnchorShown(bool shown);

private:
    struct Option {
        QRadioButton *button;
        float rotation;
        double startAngle;
    };
    std::array<Option, 4> options() const;
    Option chosen() const;
    void choose(const std::function<bool(const Option &)> &matches); // "down" when none does
};
