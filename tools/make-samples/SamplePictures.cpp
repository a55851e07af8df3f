#include "SamplePictures.h"
#include "Random.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace SamplePictures {
namespace {

constexpr double Pi = 3.14159265358979323846;

QImage canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

void fillGradient(QPainter &p, const QRectF &area,
                  std::initializer_list<std::pair<double, QColor>> stops)
{
    QLinearGradient gradient(area.topLeft(), area.bottomLeft());
    for (const auto &[at, colour] : stops)
        gradient.setColorAt(at, colour);
    p.fillRect(area, gradient);
}

// A jagged ridge from left to right between the given heights, closed below.
QPainterPath ridge(Random &random, int width, double base, double peak, int points, double bottom)
{
    QPainterPath path(QPointF(0, bottom));
    for (int i = 0; i <= points; ++i) {
        const double x = width * double(i) / points;
        const double y = i % 2 ? peak + random.uniform(-15, 25) : base + random.uniform(-10, 10);
        path.lineTo(x, y);
    }
    path.lineTo(width, bottom);
    path.closeSubpath();
    return path;
}

QImage sunset()
{
    QImage image = canvas(480, 360);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double horizon = 225;
    fillGradient(p, QRectF(0, 0, 480, horizon),
                 {{0, QColor(38, 28, 86)}, {0.55, QColor(214, 86, 70)}, {1, QColor(255, 196, 96)}});
    QRadialGradient sun(QPointF(300, 200), 48);
    sun.setColorAt(0, QColor(255, 246, 200));
    sun.setColorAt(1, QColor(255, 168, 60));
    p.setPen(Qt::NoPen);
    p.setBrush(sun);
    p.drawEllipse(QPointF(300, 200), 46, 46);
    // Thin clouds lit from below.
    p.setBrush(QColor(255, 150, 130, 110));
    for (const QRectF &cloud :
         {QRectF(40, 70, 210, 16), QRectF(250, 110, 190, 12), QRectF(120, 140, 150, 10)})
        p.drawRoundedRect(cloud, 8, 8);
    fillGradient(p, QRectF(0, horizon, 480, 360 - horizon),
                 {{0, QColor(150, 70, 84)}, {1, QColor(26, 18, 46)}});
    // The sun's path on the water.
    p.setBrush(QColor(255, 210, 120, 200));
    for (int i = 0; i < 14; ++i) {
        const double y = horizon + 6 + i * 9;
        const double half = 38 - i * 2.2;
        p.drawRoundedRect(QRectF(300 - half, y, 2 * half, 3), 1.5, 1.5);
    }
    Random random(3);
    p.setBrush(QColor(28, 18, 38));
    QPainterPath hills(QPointF(0, 250));
    hills.cubicTo(60, 170, 120, 190, 190, 232);
    hills.lineTo(190, 250);
    hills.closeSubpath();
    p.drawPath(hills);
    p.drawRect(QRectF(0, 240, 200, 12));
    return image;
}

QImage mountains()
{
    QImage image = canvas(480, 360);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    fillGradient(p, QRectF(0, 0, 480, 240),
                 {{0, QColor(82, 140, 214)}, {1, QColor(206, 226, 246)}});
    Random random(11);
    p.setPen(Qt::NoPen);
    // Far range, near range, each with snow on the peaks.
    const QPainterPath far = ridge(random, 480, 170, 70, 8, 260);
    p.setBrush(QColor(132, 150, 184));
    p.drawPath(far);
    p.save();
    p.setClipPath(far);
    p.setBrush(QColor(246, 248, 252));
    p.drawRect(QRectF(0, 0, 480, 118));
    p.restore();
    const QPainterPath nearRange = ridge(random, 480, 215, 125, 6, 270);
    p.setBrush(QColor(70, 86, 104));
    p.drawPath(nearRange);
    p.save();
    p.setClipPath(nearRange);
    p.setBrush(QColor(236, 240, 246));
    p.drawRect(QRectF(0, 0, 480, 150));
    p.restore();
    fillGradient(p, QRectF(0, 250, 480, 40),
                 {{0, QColor(96, 150, 190)}, {1, QColor(60, 110, 150)}});
    fillGradient(p, QRectF(0, 290, 480, 70), {{0, QColor(86, 136, 60)}, {1, QColor(46, 92, 36)}});
    // Pines at both sides of the meadow.
    p.setBrush(QColor(22, 60, 34));
    for (const auto &[x, h] :
         {std::pair{20.0, 110.0}, {55.0, 80.0}, {85.0, 95.0}, {400.0, 90.0}, {440.0, 120.0}}) {
        QPolygonF tree;
        tree << QPointF(x, 330 - h) << QPointF(x + h * 0.22, 330) << QPointF(x - h * 0.22, 330);
        p.drawPolygon(tree);
    }
    return image;
}

QImage harbour()
{
    QImage image = canvas(480, 360);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    fillGradient(p, QRectF(0, 0, 480, 200),
                 {{0, QColor(120, 176, 230)}, {1, QColor(220, 236, 248)}});
    fillGradient(p, QRectF(0, 200, 480, 160),
                 {{0, QColor(40, 110, 160)}, {1, QColor(18, 60, 100)}});
    p.setPen(QPen(QColor(170, 210, 235, 150), 2));
    Random random(5);
    for (int i = 0; i < 40; ++i) {
        const double x = random.uniform(0, 460), y = random.uniform(210, 350);
        p.drawLine(QPointF(x, y), QPointF(x + random.uniform(10, 26), y));
    }
    p.setPen(Qt::NoPen);
    // Lighthouse on its rock.
    p.setBrush(QColor(90, 80, 70));
    p.drawEllipse(QRectF(20, 188, 110, 34));
    for (int band = 0; band < 5; ++band) {
        p.setBrush(band % 2 ? QColor(245, 245, 240) : QColor(200, 40, 36));
        p.drawRect(QRectF(62, 80 + band * 22, 26, 22));
    }
    p.setBrush(QColor(255, 230, 120));
    p.drawRect(QRectF(60, 64, 30, 16));
    p.setBrush(QColor(40, 40, 40));
    p.drawPolygon(QPolygonF({QPointF(56, 64), QPointF(75, 48), QPointF(94, 64)}));
    // Sail boats.
    for (const auto &[x, y, s] :
         {std::tuple{200.0, 250.0, 1.0}, {320.0, 225.0, 0.7}, {400.0, 290.0, 1.2}}) {
        p.setBrush(QColor(120, 60, 30));
        p.drawPolygon(
            QPolygonF({QPointF(x - 40 * s, y), QPointF(x + 40 * s, y),
                       QPointF(x + 28 * s, y + 14 * s), QPointF(x - 28 * s, y + 14 * s)}));
        p.setBrush(QColor(250, 250, 244));
        p.drawPolygon(QPolygonF({QPointF(x + 2 * s, y - 4 * s), QPointF(x + 2 * s, y - 90 * s),
                                 QPointF(x + 38 * s, y - 4 * s)}));
        p.setBrush(QColor(236, 200, 90));
        p.drawPolygon(QPolygonF({QPointF(x - 3 * s, y - 4 * s), QPointF(x - 3 * s, y - 72 * s),
                                 QPointF(x - 34 * s, y - 4 * s)}));
    }
    // Pier on the right.
    p.setBrush(QColor(110, 80, 50));
    p.drawRect(QRectF(430, 200, 50, 10));
    for (int i = 0; i < 3; ++i)
        p.drawRect(QRectF(436 + i * 16, 210, 5, 30));
    return image;
}

QImage flowers()
{
    QImage image = canvas(360, 480);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient back(QPointF(180, 200), 320);
    back.setColorAt(0, QColor(70, 58, 48));
    back.setColorAt(1, QColor(20, 16, 14));
    p.fillRect(image.rect(), back);
    fillGradient(p, QRectF(0, 380, 360, 100), {{0, QColor(120, 74, 40)}, {1, QColor(70, 40, 20)}});
    // Stems and leaves first, the vase over them.
    p.setPen(QPen(QColor(60, 120, 50), 4));
    const QPointF neck(180, 290);
    const std::vector<QPointF> heads{{110, 150}, {170, 110}, {240, 140}, {140, 215},
                                     {225, 210}, {190, 170}, {95, 235}};
    for (const QPointF &head : heads)
        p.drawLine(neck, head);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 130, 56));
    for (const auto &[x, y, a] :
         {std::tuple{150.0, 250.0, -40.0}, {215.0, 245.0, 35.0}, {180.0, 230.0, 80.0}}) {
        p.save();
        p.translate(x, y);
        p.rotate(a);
        p.drawEllipse(QRectF(-28, -8, 56, 16));
        p.restore();
    }
    // Blooms: petals around a centre.
    const QColor petals[] = {QColor(220, 40, 50), QColor(250, 210, 60), QColor(245, 245, 240),
                             QColor(230, 120, 170)};
    for (size_t i = 0; i < heads.size(); ++i) {
        const QColor colour = petals[i % 4];
        p.save();
        p.translate(heads[i]);
        for (int k = 0; k < 8; ++k) {
            p.rotate(45);
            p.setBrush(colour);
            p.drawEllipse(QRectF(4, -7, 26, 14));
        }
        p.setBrush(QColor(120, 70, 20));
        p.drawEllipse(QPointF(0, 0), 9, 9);
        p.restore();
    }
    // The vase, lit from the left.
    QLinearGradient glaze(QPointF(130, 0), QPointF(230, 0));
    glaze.setColorAt(0, QColor(90, 140, 210));
    glaze.setColorAt(0.35, QColor(150, 190, 240));
    glaze.setColorAt(1, QColor(30, 60, 120));
    p.setBrush(glaze);
    QPainterPath vase(QPointF(160, 280));
    vase.lineTo(200, 280);
    vase.cubicTo(205, 310, 250, 330, 240, 380);
    vase.cubicTo(235, 410, 125, 410, 120, 380);
    vase.cubicTo(110, 330, 155, 310, 160, 280);
    p.drawPath(vase);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawEllipse(QRectF(110, 392, 140, 16));
    return image;
}

QImage forest()
{
    QImage image = canvas(480, 360);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    fillGradient(p, QRectF(0, 0, 480, 220),
                 {{0, QColor(250, 236, 200)}, {1, QColor(240, 210, 160)}});
    fillGradient(p, QRectF(0, 220, 480, 140), {{0, QColor(150, 110, 50)}, {1, QColor(90, 60, 30)}});
    // A path winding into the wood.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 170, 120));
    QPainterPath path(QPointF(200, 360));
    path.cubicTo(240, 300, 300, 270, 250, 222);
    path.lineTo(262, 222);
    path.cubicTo(330, 270, 300, 320, 320, 360);
    path.closeSubpath();
    p.drawPath(path);
    Random random(17);
    const QColor leaves[] = {QColor(220, 110, 30), QColor(200, 60, 30), QColor(240, 180, 40),
                             QColor(160, 90, 30), QColor(230, 140, 50)};
    // From the back to the front: smaller and paler first.
    for (int row = 0; row < 3; ++row) {
        const double scale = 0.5 + row * 0.35;
        const double ground = 225 + row * 45;
        for (int i = 0; i < 7 - row; ++i) {
            const double x = random.uniform(0, 480);
            if (row == 2 && x > 170 && x < 340)
                continue; // keep the path clear
            p.setBrush(QColor(70, 45, 30));
            p.drawRect(QRectF(x - 5 * scale, ground - 90 * scale, 10 * scale, 90 * scale));
            for (int k = 0; k < 6; ++k) {
                QColor c = leaves[size_t(random.uniform(0, 4.99))];
                c = c.lighter(int(130 - row * 15));
                p.setBrush(c);
                p.drawEllipse(QPointF(x + random.uniform(-35, 35) * scale,
                                      ground - random.uniform(90, 150) * scale),
                              random.uniform(22, 36) * scale, random.uniform(20, 30) * scale);
            }
        }
    }
    return image;
}

QImage nightCity()
{
    QImage image = canvas(480, 360);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    fillGradient(p, QRectF(0, 0, 480, 360),
                 {{0, QColor(8, 12, 40)}, {0.7, QColor(50, 30, 80)}, {1, QColor(90, 50, 90)}});
    Random random(23);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 230));
    for (int i = 0; i < 60; ++i)
        p.drawEllipse(QPointF(random.uniform(0, 480), random.uniform(0, 170)), 0.9, 0.9);
    QRadialGradient moon(QPointF(390, 70), 30);
    moon.setColorAt(0, QColor(255, 255, 235));
    moon.setColorAt(1, QColor(230, 230, 200));
    p.setBrush(moon);
    p.drawEllipse(QPointF(390, 70), 26, 26);
    // Buildings with lit windows.
    double x = -10;
    while (x < 480) {
        const double w = random.uniform(40, 80);
        const double top = random.uniform(110, 250);
        p.setBrush(QColor(20, 22, 36));
        p.drawRect(QRectF(x, top, w, 360 - top));
        for (double wy = top + 10; wy < 340; wy += 14) {
            for (double wx = x + 6; wx < x + w - 8; wx += 10) {
                if (random.uniform(0, 1) < 0.45) {
                    p.setBrush(QColor(255, 214, 120));
                    p.drawRect(QRectF(wx, wy, 5, 7));
                }
            }
        }
        x += w + random.uniform(2, 8);
    }
    return image;
}

// Flat colours, as a GIF suits.
QImage abstract()
{
    QImage image = canvas(400, 400);
    QPainter p(&image);
    p.fillRect(image.rect(), QColor(245, 242, 232));
    p.fillRect(QRect(0, 0, 150, 170), QColor(210, 30, 30));
    p.fillRect(QRect(290, 280, 110, 120), QColor(30, 60, 160));
    p.fillRect(QRect(0, 330, 90, 70), QColor(245, 200, 30));
    p.fillRect(QRect(290, 0, 110, 90), QColor(245, 200, 30));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 20, 20));
    for (const QRect &bar : {QRect(150, 0, 12, 400), QRect(278, 0, 12, 400), QRect(0, 170, 400, 12),
                             QRect(0, 318, 290, 12), QRect(290, 268, 110, 12),
                             QRect(290, 90, 110, 10), QRect(80, 330, 10, 70)})
        p.drawRect(bar);
    return image;
}

// A name board for a sign: the name as large as fits whatever font the
// machine supplies, inside a thin border, right of an emblem in the square at
// the left, which is outlined or filled in the ink.
QImage nameBoard(const QString &name, const QColor &board, const QColor &ink,
                 const QPainterPath &emblem, bool outline)
{
    QImage image = canvas(512, 128);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(image.rect(), board);
    p.setPen(QPen(ink, 4));
    p.drawRect(QRectF(8, 8, 496, 112));
    if (outline)
        p.drawPath(emblem);
    else
        p.fillPath(emblem, ink);
    const QRectF space(112, 10, 380, 108);
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setBold(true);
    for (int size = 48; size > 10; size -= 2) {
        font.setPixelSize(size);
        if (QFontMetricsF(font).horizontalAdvance(name) <= space.width())
            break;
    }
    p.setFont(font);
    p.drawText(space, Qt::AlignCenter, name);
    return image;
}

QPainterPath rect(double x, double y, double width, double height)
{
    QPainterPath path;
    path.addRect(x, y, width, height);
    return path;
}

QImage gallerySign()
{
    QPainterPath frame = rect(28, 30, 70, 68); // an empty picture frame
    frame.addPath(rect(40, 42, 46, 44));
    return nameBoard(QStringLiteral("Lotwright Gallery"), QColor(24, 40, 80), QColor(220, 180, 80),
                     frame, true);
}

QImage parkSign()
{
    QPainterPath tree;
    tree.addEllipse(33, 22, 60, 56);
    return nameBoard(QStringLiteral("Lotwright Park"), QColor(30, 74, 46), QColor(240, 228, 186),
                     tree.united(rect(58, 70, 10, 34)), false);
}

QImage townSign()
{
    QPainterPath house;
    house.addPolygon(QPolygonF({{28, 62}, {63, 28}, {98, 62}}));
    house.closeSubpath();
    return nameBoard(QStringLiteral("Welcome to Lotwright"), QColor(28, 66, 132),
                     QColor(246, 246, 240),
                     house.united(rect(36, 62, 54, 38)).subtracted(rect(56, 76, 14, 24)), false);
}

} // namespace

std::vector<Picture> all()
{
    return {
        {QStringLiteral("sunset.jpg"), sunset()},
        {QStringLiteral("mountains.jpg"), mountains()},
        {QStringLiteral("harbour.jpg"), harbour()},
        {QStringLiteral("flowers.jpg"), flowers()},
        {QStringLiteral("forest.jpg"), forest()},
        {QStringLiteral("night-city.jpg"), nightCity()},
        {QStringLiteral("abstract.gif"), abstract()},
        {QStringLiteral("gallery-sign.gif"), gallerySign()},
        {QStringLiteral("park-sign.gif"), parkSign()},
        {QStringLiteral("town-sign.gif"), townSign()},
    };
}

} // namespace SamplePictures
