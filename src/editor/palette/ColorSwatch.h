#pragma once
// A button that shows a colour. Clicking it (or Space while it has the focus)
// opens the colour dialog; a choice becomes its colour, a cancel changes
// nothing. Colours are stored values (core/model/StoredColor.h).

#include <QPushButton>

#include <cstdint>

class ColorDialog;

class ColorSwatch : public QPushButton {
    Q_OBJECT

public:
    // name: what a screen reader calls it ("Text Color"); the caption beside it.
    ColorSwatch(ColorDialog *dialog, int32_t color, const QString &name, QWidget *parent = nullptr);

    int32_t color() const { return m_color; }
    void setColor(int32_t color);
    void chooseColor();

    QSize sizeHint() const override;

signals:
    void colorChanged(int32_t color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    ColorDialog *m_dialog;
    int32_t m_color = 0;
};
