#include "editor/dialogs/Artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>

#include <array>

QImage iconPicture(int size)
{
    // The emblem is the desktop's icon too, drawn once, as SVG (packaging/).
    QSvgRenderer emblem(QStringLiteral(":/icons/io.github.lotwright.Lotwright.svg"));
    if (!emblem.isValid())
        qFatal("the program's icon is missing from its resources");
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    emblem.render(&p);
    return image;
}

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(iconPicture(size)));
    return icon;
}

QIcon arrowIcon()
{
    // The arrow in a 100 x 100 square: its tip at the top left, a tail below.
    const QPolygonF arrow(QVector<QPointF>{
        {24, 8}, {24, 82}, {42, 65}, {55, 94}, {68, 88}, {55, 60}, {80, 60}});
    QIcon icon;
    for (int size : {16, 24, 32, 48}) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 100.0, size / 100.0);
        p.setPen(QPen(Qt::black, std::max(5.0, 100.0 / size), Qt::SolidLine, Qt::RoundCap,
                      Qt::RoundJoin));
        p.setBrush(Qt::white);
        p.drawPolygon(arrow);
        p.end();
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

namespace
{

struct Building {
    int left, width, height; // pixels; the street line is at y = 196
    int roof;                // 0 flat, > 0 a gable of that height, < 0 a spire
};

// A skyline, left to right, drawn behind the product name.
constexpr std::array<Building, 14> Skyline{{
    {4, 34, 62, 0},
    {38, 22, 92, -24},
    {60, 40, 74, 0},
    {100, 30, 48, 18},
    {130, 26, 118, 0},
    {156, 44, 84, 0},
    {200, 24, 58, 14},
    {224, 36, 136, -30},
    {260, 30, 96, 0},
    {290, 44, 66, 20},
    {334, 26, 108, 0},
    {360, 36, 78, 0},
    {396, 20, 52, 12},
    {416, 10, 40, 0},
}};

void drawSkyline(QPainter &p)
{
    constexpr int street = 196;
    p.setBrush(Qt::NoBrush);
    for (const Building &b : Skyline) {
        const int top = street - b.height;
        const int right = b.left + b.width;
        QPainterPath outline;
        outline.moveTo(b.left, street);
        outline.lineTo(b.left, top);
        if (b.roof > 0) {
            outline.lineTo(b.left + b.width / 2.0, top - b.roof);
        } else if (b.roof < 0) {
            outline.lineTo(b.left + b.width / 2.0 - 3, top);
            outline.lineTo(b.left + b.width / 2.0, top + b.roof);
            outline.lineTo(b.left + b.width / 2.0 + 3, top);
        }
        outline.lineTo(right, top);
        outline.lineTo(right, street);
        p.drawPath(outline);

        // Rows of windows.
        for (int y = top + 8; y + 8 < street - 6; y += 14)
            for (int x = b.left + 5; x + 6 <= right - 4; x += 10)
                p.drawRect(x, y, 5, 7);
    }
    p.drawLine(0, street, 400, street);
}

} // namespace

QImage splashPicture()
{
    QImage image(400, 200, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient sky(0, 0, 0, 200);
    sky.setColorAt(0, QColor(226, 238, 250));
    sky.setColorAt(1, QColor(252, 253, 255));
    p.fillRect(image.rect(), sky);

    p.setPen(QPen(QColor(70, 100, 140, 70), 1));
    drawSkyline(p);

    p.drawImage(QRect(22, 24, 64, 64), iconPicture(64));

    QFont title(QStringLiteral("DejaVu Serif"));
    title.setPixelSize(46);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(32, 58, 96));
    p.drawText(QRect(98, 18, 300, 56), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Lotwright"));

    QFont version(QStringLiteral("DejaVu Sans"));
    version.setPixelSize(17);
    p.setFont(version);
    p.setPen(QColor(70, 96, 130));
    p.drawText(QRect(102, 70, 300, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Version 2.0"));
    return image;
}
