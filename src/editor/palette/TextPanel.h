#pragma once
// The text settings of a text item: what it says, big or eye-level, its
// colour and whether it turns to face the visitor. Used by the palette and
// by the Edit Object dialog.

#include "core/model/Types.h"
#include "editor/platform/Platform.h"

#include <QWidget>

class ColorSwatch;
class QCheckBox;
class QLineEdit;
class QRadioButton;

class TextPanel : public QWidget {
    Q_OBJECT

public:
    explicit TextPanel(const Platform &platform, QWidget *parent = nullptr);

    QLineEdit *txtTextText = nullptr; // "Text To Be Displayed"
    QRadioButton *optText1 = nullptr; // "Big Text"
    QRadioButton *optText2 = nullptr; // "Eye Level Text"
    ColorSwatch *picTextColor = nullptr;
    QCheckBox *chkTextBillBoard = nullptr; // "Three-Sixty"

    // "Text (Big)" or "Text (Eye-Level)", as the options say.
    QString kind() const;

    // The fields of a text record this panel shows: Text, Kind, Color, Billboard.
    void showRecord(const TextInfo &text);
    void applyTo(TextInfo &text) const;
};
