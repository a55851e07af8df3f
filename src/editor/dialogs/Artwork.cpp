#include "editor/dialogs/Artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <array>

namespace
{

QPolygonF polygon(std::initializer_list<QPointF> points)
{
    return QPolygonF(QVector<QPointF>(points));
}

// The house in a 100 x 100 square: an isometric block with a gable roof.
// Corners of the wall tops: left (24,39), front (50,52), right (76,39);
// the ridge runs from (37,29.5) to (63,16.5).
void drawHouse(QPainter &p, bool detailed)
{
    const QPolygonF leftWall = polygon({{24, 69}, {50, 82}, {50, 52}, {37, 29.5}, {24, 39}});
    const QPolygonF rightWall = polygon({{50, 82}, {76, 69}, {76, 39}, {50, 52}});
    const QPolygonF roofFront = polygon({{50, 52}, {76, 39}, {63, 16.5}, {37, 29.5}});
    const QPolygonF roofBack = polygon({{24, 39}, {37, 29.5}, {63, 16.5}, {50, 26}});

    p.setBrush(QColor(158, 51, 35));
    p.drawPolygon(roofBack);
    p.setBrush(QColor(241, 230, 204));
    p.drawPolygon(leftWall);
    p.setBrush(QColor(205, 187, 148));
    p.drawPolygon(rightWall);
    p.setBrush(QColor(200, 69, 47));
    p.drawPolygon(roofFront);

    if (!detailed)
        return;
    // A window in the gable wall and a door in the long wall, both skewed
    // along their wall.
    p.setBrush(QColor(92, 140, 186));
    p.drawPolygon(polygon({{31, 57.5}, {42, 63}, {42, 53}, {31, 47.5}}));
    p.setBrush(QColor(110, 70, 40));
    p.drawPolygon(polygon({{58, 78}, {66, 74}, {66, 60}, {58, 64}}));
}

void drawTile(QPainter &p, bool detailed)
{
    QLinearGradient grass(0, 0, 0, 100);
    grass.setColorAt(0, QColor(108, 186, 88));
    grass.setColorAt(1, QColor(58, 138, 52));
    p.setBrush(grass);
    p.drawRoundedRect(QRectF(4, 4, 92, 92), 14, 14);

    if (detailed) {
        // The map's grid, faint.
        p.save();
        p.setPen(QPen(QColor(255, 255, 255, 60), 1.2));
        for (int at = 27; at < 96; at += 23) {
            p.drawLine(QPointF(at, 6), QPointF(at, 94));
            p.drawLine(QPointF(6, at), QPointF(94, at));
        }
        p.restore();
    }
    // The house's shadow.
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 60, 20, 70));
    p.drawPolygon(polygon({{24, 69}, {50, 82}, {86, 72}, {60, 59}}));
    p.restore();
}

} // namespace

QImage iconPicture(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 100.0, size / 100.0);
    // Outlines stay near one pixel wide at the smallest sizes.
    const double outline = std::max(2.0, 75.0 / size);
    const bool detailed = size >= 32;

    p.setPen(QPen(QColor(36, 92, 32), outline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    drawTile(p, size >= 48);
    p.setPen(QPen(QColor(58, 42, 26), outline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    drawHouse(p, detailed);
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
    const QPolygonF arrow =
        polygon({{24, 8}, {24, 82}, {42, 65}, {55, 94}, {68, 88}, {55, 60}, {80, 60}});
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
