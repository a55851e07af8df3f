#include "TextureGenerator.h"
#include "Random.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace Textures {
namespace {

constexpr double Pi = 3.14159265358979323846;

// Value noise on a lattice that wraps around, summed over octaves whose
// periods all divide the picture, so the sum wraps too.
class PeriodicNoise {
public:
    PeriodicNoise(Random &random, int basePeriod, int octaves)
    {
        int period = basePeriod;
        for (int o = 0; o < octaves; ++o, period *= 2) {
            Octave octave{period, std::vector<double>(size_t(period * period))};
            for (double &v : octave.values)
                v = random.uniform(0, 1);
            m_octaves.push_back(std::move(octave));
        }
    }

    // u and v in tile units (0..1 covers the picture once); result 0..1.
    double at(double u, double v) const
    {
        double sum = 0, weight = 0, amplitude = 1;
        for (const Octave &o : m_octaves) {
            sum += amplitude * o.sample(u * o.period, v * o.period);
            weight += amplitude;
            amplitude *= 0.5;
        }
        return sum / weight;
    }

private:
    struct Octave {
        int period;
        std::vector<double> values;

        double value(int x, int y) const
        {
            x = ((x % period) + period) % period;
            y = ((y % period) + period) % period;
            return values[size_t(y * period + x)];
        }
        double sample(double x, double y) const
        {
            const int x0 = int(std::floor(x));
            const int y0 = int(std::floor(y));
            const double fx = smooth(x - x0);
            const double fy = smooth(y - y0);
            const double top = value(x0, y0) * (1 - fx) + value(x0 + 1, y0) * fx;
            const double bottom = value(x0, y0 + 1) * (1 - fx) + value(x0 + 1, y0 + 1) * fx;
            return top * (1 - fy) + bottom * fy;
        }
        static double smooth(double t) { return t * t * (3 - 2 * t); }
    };
    std::vector<Octave> m_octaves;
};

QColor mix(const QColor &a, const QColor &b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t));
}

// Noise stretched for contrast: value noise averages towards 0.5.
double contrast(double v, double gain) { return std::clamp(0.5 + (v - 0.5) * gain, 0.0, 1.0); }

// Fills the picture with a colour ramp driven by the noise, plus per-pixel grain.
QImage noiseFill(int size, Random &random, const PeriodicNoise &noise, const QColor &low,
                 const QColor &high, double gain, double grain)
{
    QImage image(size, size, QImage::Format_RGB32);
    for (int y = 0; y < size; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size; ++x) {
            const double t = contrast(noise.at(double(x) / size, double(y) / size), gain) +
                             random.uniform(-grain, grain);
            line[x] = mix(low, high, t).rgb();
        }
    }
    return image;
}

// Draws a shape centred at (x, y) and again wherever it would cross an edge.
void drawWrapped(QPainter &painter, int size, double x, double y, double reach,
                 const std::function<void(QPainter &)> &draw)
{
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const double cx = x + dx * size;
            const double cy = y + dy * size;
            if (cx + reach < 0 || cx - reach > size || cy + reach < 0 || cy - reach > size)
                continue;
            painter.save();
            painter.translate(cx, cy);
            draw(painter);
            painter.restore();
        }
    }
}

// Lighter or darker by up to amount, the same for each channel so the hue stays.
QColor jitter(Random &random, const QColor &base, int amount)
{
    const int d = int(random.uniform(-amount, amount));
    auto j = [d](int c) { return std::clamp(c + d, 0, 255); };
    return QColor(j(base.red()), j(base.green()), j(base.blue()));
}

} // namespace

QImage grass(int size, uint32_t seed)
{
    Random random(seed);
    const PeriodicNoise patches(random, 4, 4);
    QImage image =
        noiseFill(size, random, patches, QColor(38, 78, 22), QColor(92, 138, 44), 2.2, 0.05);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // Blades seen from above at a slant: short strokes, mostly upright.
    const int blades = size * size / 14;
    for (int i = 0; i < blades; ++i) {
        const double x = random.uniform(0, size);
        const double y = random.uniform(0, size);
        const double length = random.uniform(3, 8) * size / 256.0;
        const double angle = random.uniform(-0.6, 0.6) + (random.below(4) == 0 ? Pi / 2 : 0);
        const double shade = patches.at(x / size, y / size);
        QColor colour = mix(QColor(45, 95, 25), QColor(130, 170, 60),
                            contrast(shade, 2.0) + random.uniform(-0.3, 0.3));
        colour.setAlphaF(float(random.uniform(0.45, 0.9)));
        const double width = random.uniform(0.7, 1.4);
        drawWrapped(painter, size, x, y, length, [&](QPainter &p) {
            p.rotate(angle * 180 / Pi);
            p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(0, -length / 2), QPointF(0, length / 2));
        });
    }
    return image;
}

QImage dirt(int size, uint32_t seed)
{
    Random random(seed);
    const PeriodicNoise ground(random, 4, 5);
    QImage image =
        noiseFill(size, random, ground, QColor(92, 66, 40), QColor(152, 118, 80), 2.0, 0.07);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // Dark specks of earth, then small pebbles with a lit top edge.
    for (int i = 0; i < size * size / 60; ++i) {
        const double x = random.uniform(0, size);
        const double y = random.uniform(0, size);
        const double r = random.uniform(0.5, 1.6);
        QColor colour(60, 42, 26);
        colour.setAlphaF(float(random.uniform(0.3, 0.7)));
        drawWrapped(painter, size, x, y, r, [&](QPainter &p) {
            p.setPen(Qt::NoPen);
            p.setBrush(colour);
            p.drawEllipse(QPointF(0, 0), r, r);
        });
    }
    for (int i = 0; i < size * size / 700; ++i) {
        const double x = random.uniform(0, size);
        const double y = random.uniform(0, size);
        const double rx = random.uniform(1.5, 4.5) * size / 256.0;
        const double ry = rx * random.uniform(0.6, 1.0);
        const double angle = random.uniform(0, 180);
        const QColor stone = jitter(random, QColor(150, 135, 115), 25);
        drawWrapped(painter, size, x, y, rx + 1, [&](QPainter &p) {
            p.rotate(angle);
            p.setPen(QPen(QColor(70, 52, 34, 160), 0.8));
            p.setBrush(stone);
            p.drawEllipse(QPointF(0, 0), rx, ry);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 250, 235, 90));
            p.drawEllipse(QPointF(-rx * 0.25, -ry * 0.3), rx * 0.5, ry * 0.4);
        });
    }
    return image;
}

QImage snow(int size, uint32_t seed)
{
    Random random(seed);
    const PeriodicNoise drifts(random, 2, 5);
    QImage image =
        noiseFill(size, random, drifts, QColor(196, 210, 232), QColor(252, 253, 255), 2.4, 0.02);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // Sparkle: scattered bright points and a few faint blue crystals.
    for (int i = 0; i < size * size / 90; ++i) {
        const double x = random.uniform(0, size);
        const double y = random.uniform(0, size);
        const bool bright = random.below(3) != 0;
        const QColor colour = bright ? QColor(255, 255, 255, 220) : QColor(170, 190, 225, 120);
        const double r = random.uniform(0.4, 1.0);
        drawWrapped(painter, size, x, y, r, [&](QPainter &p) {
            p.setPen(Qt::NoPen);
            p.setBrush(colour);
            p.drawEllipse(QPointF(0, 0), r, r);
        });
    }
    return image;
}

QImage asphalt(int size, uint32_t seed)
{
    Random random(seed);
    const PeriodicNoise wear(random, 4, 4);
    QImage image = noiseFill(size, random, wear, QColor(56, 56, 58), QColor(80, 80, 82), 0.9, 0.2);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // Aggregate: light and dark stone chips bound in the tar.
    for (int i = 0; i < size * size / 25; ++i) {
        const double x = random.uniform(0, size);
        const double y = random.uniform(0, size);
        const double r = random.uniform(0.4, 1.3) * size / 256.0;
        const bool light = random.below(3) == 0;
        QColor colour = light ? jitter(random, QColor(125, 122, 118), 20)
                              : jitter(random, QColor(30, 30, 32), 8);
        colour.setAlphaF(float(random.uniform(0.5, 0.95)));
        drawWrapped(painter, size, x, y, r, [&](QPainter &p) {
            p.setPen(Qt::NoPen);
            p.setBrush(colour);
            p.drawEllipse(QPointF(0, 0), r, r * random.uniform(0.6, 1.0));
        });
    }
    return image;
}

QImage leaves(int size, uint32_t seed)
{
    Random random(seed);
    const PeriodicNoise light(random, 2, 4);
    QImage image =
        noiseFill(size, random, light, QColor(14, 38, 10), QColor(34, 66, 22), 2.0, 0.03);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // Layers of leaves, the later ones lighter as if nearer the sun.
    const int count = size * size / 90;
    for (int i = 0; i < count; ++i) {
        const double x = random.uniform(0, size);
        const double y = random.uniform(0, size);
        const double length = random.uniform(9, 17) * size / 256.0;
        const double width = length * random.uniform(0.38, 0.5);
        const double angle = random.uniform(0, 360);
        const double layer = double(i) / count;
        const double sun = contrast(light.at(x / size, y / size), 1.8);
        const QColor colour = mix(QColor(28, 70, 18), QColor(112, 168, 52),
                                  0.25 + 0.5 * layer * sun + random.uniform(-0.15, 0.15));
        QPainterPath leaf;
        leaf.moveTo(-length / 2, 0);
        leaf.quadTo(0, -width, length / 2, 0);
        leaf.quadTo(0, width, -length / 2, 0);
        drawWrapped(painter, size, x, y, length, [&](QPainter &p) {
            p.rotate(angle);
            p.setPen(QPen(colour.darker(150), 0.6));
            p.setBrush(colour);
            p.drawPath(leaf);
            p.setPen(QPen(colour.lighter(125), 0.5));
            p.drawLine(QPointF(-length * 0.45, 0), QPointF(length * 0.4, 0));
        });
    }
    return image;
}

const std::vector<Texture> &all()
{
    static const std::vector<Texture> textures = {
        {QStringLiteral("grass.jpg"), grass},   {QStringLiteral("dirt.jpg"), dirt},
        {QStringLiteral("snow.jpg"), snow},     {QStringLiteral("asphalt.jpg"), asphalt},
        {QStringLiteral("leaves.jpg"), leaves},
    };
    return textures;
}

} // namespace Textures
