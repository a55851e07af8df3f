#include "editor/palette/ColorSwatch.h"

#include "core/model/StoredColor.h"
#include "editor/platform/Platform.h"

#include <QPainter>

ColorSwatch::ColorSwatch(ColorDialog *dialog, int32_t color, const QString &name, QWidget *parent)
    : QPushButton(parent), m_dialog(dialog)
{
    setAccessibleName(name); // a button without a caption is not named by its label
    setAutoDefault(false);   // in a dialog, Enter means OK, not "choose a colour"
    setColor(color);
    connect(this, &QPushButton::clicked, this, &ColorSwatch::chooseColor);
}

void ColorSwatch::setColor(int32_t color)
{
    m_color = color;
    const QColor c = StoredColor::toQColor(color);
    setAccessibleDescription(
        tr("Red %1, green %2, blue %3").arg(c.red()).arg(c.green()).arg(c.blue()));
    update();
    emit colorChanged(color);
}

void ColorSwatch::chooseColor()
{
    if (const std::optional<int32_t> chosen = m_dialog->chooseColor(window(), m_color))
        setColor(*chosen);
}

QSize ColorSwatch::sizeHint() const
{
    const int side = fontMetrics().height() + 8;
    return QSize(2 * side, side);
}

void ColorSwatch::paintEvent(QPaintEvent *event)
{
    QPushButton::paintEvent(event); // the button's frame and focus
    QPainter painter(this);
    const QRect inner = rect().adjusted(4, 4, -5, -5);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setBrush(StoredColor::toQColor(m_color));
    painter.drawRect(inner);
}
