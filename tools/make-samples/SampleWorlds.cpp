#include "SampleWorlds.h"

namespace SampleWorlds {
namespace {

int32_t rgb(int r, int g, int b) { return r + 256 * g + 65536 * b; }

// Items are appended with the world model's own rule, as the editor does.
class Builder {
public:
    World world;

    void object(const char *name, float x, float y, float rotation = Rotation::Forward,
                const QString &anchor = {}, const QString &target = {})
    {
        appendItem(world.Objects,
                   ObjectInfo{QString::fromLatin1(name), x, y, rotation, anchor, target});
    }
    // Corners as on the map: left, top, right, bottom.
    void cube(const QString &kind, float left, float top, float right, float bottom,
              int32_t colour = 0)
    {
        appendItem(world.Cubes, CubeInfo{kind, left, right, top, bottom, colour});
    }
    void text(const QString &text, const QString &kind, float x, float y, int32_t colour,
              float rotation = Rotation::Forward, bool billboard = false,
              const QString &anchor = {}, const QString &target = {})
    {
        appendItem(world.Texts, TextInfo{text, x, y, colour, rotation, kind, billboard, anchor,
                                         QString(), target});
    }
    // A picture hung with its centre at eye height (0.52) unless offGround is given.
    void picture(const char *file, float x, float y, float width, float height, float rotation,
                 const QString &anchor = {}, const QString &target = {}, float offGround = -1)
    {
        if (offGround < 0)
            offGround = 0.52f - height / 2;
        appendItem(world.Pictures,
                   PictureInfo{x, y, offGround, width, height, rotation, false,
                               QStringLiteral("pictures/") + QLatin1String(file), anchor, target});
    }
};

const int32_t Sand = rgb(206, 182, 134);
const int32_t Paving = rgb(198, 190, 170);
const int32_t Pavement = rgb(186, 184, 178);

} // namespace

World park()
{
    Builder b;
    World &w = b.world;
    w.Sky = QStringLiteral("Blue Sky");
    w.Ground = QStringLiteral("Grass");
    // On the main walk, looking north between the hedges to the fountain.
    w.StartPosX = 50;
    w.StartPosY = 72.5;
    w.StartAngle = 0;

    // Walks and the fountain plaza.
    b.cube(Kind::Floor, 47, 59, 53, 65, Paving);
    b.cube(Kind::Floor, 49.4f, 65, 50.6f, 86, Sand);
    b.cube(Kind::Floor, 49.4f, 46, 50.6f, 59, Sand);
    b.cube(Kind::Floor, 38, 61.4f, 47, 62.6f, Sand);
    b.cube(Kind::Floor, 53, 61.4f, 62, 62.6f, Sand);
    b.cube(Kind::Floor, 50.6f, 71.6f, 56.4f, 72.4f, Sand);        // to the gazebo
    b.cube(Kind::Floor, 53.5f, 75, 58.5f, 79, rgb(62, 112, 168)); // the pond
    // Clipped hedges along the walk.
    b.cube(Kind::Shrubbery, 47.8f, 66, 48.6f, 70.5f);
    b.cube(Kind::Shrubbery, 51.4f, 66, 52.2f, 70.5f);
    b.cube(Kind::Shrubbery, 38, 64, 45, 64.8f);

    b.object("Fountain", 50, 62);
    b.object("Statue", 50, 56.5f);
    for (const auto &[x, y] : {std::pair{48.2f, 60.0f}, {51.8f, 60}, {48.2f, 64}, {51.8f, 64}})
        b.object("Flower Bed", x, y);
    b.object("Park Bench", 50, 59.4f);
    b.object("Park Bench", 47.6f, 62, Rotation::Right);
    b.object("Park Bench", 52.4f, 62, Rotation::Left);
    b.object("Park Bench", 48.95f, 68.2f, Rotation::Right);
    b.object("Park Bench", 51.05f, 68.2f, Rotation::Left);
    for (const auto &[x, y] : {std::pair{48.95f, 66.0f},
                               {51.05f, 66},
                               {48.95f, 70.5f},
                               {51.05f, 70.5f},
                               {47.3f, 59.3f},
                               {52.7f, 59.3f},
                               {47.3f, 64.7f},
                               {52.7f, 64.7f}})
        b.object("Lamp Post", x, y);
    for (const auto &[x, y] : {std::pair{45.5f, 67.5f},
                               {54.5f, 67.5f},
                               {44.5f, 58},
                               {55.5f, 58},
                               {41, 66.5f},
                               {59, 65.5f},
                               {43, 53},
                               {57, 53}})
        b.object("Oak Tree", x, y);
    for (const auto &[x, y] : {std::pair{46.8f, 72.5f}, {46, 76}, {52.5f, 80}, {47, 79.5f}})
        b.object("Birch Tree", x, y);
    for (const auto &[x, y] : {std::pair{38.0f, 56.0f},
                               {46, 50},
                               {54, 50},
                               {62, 56},
                               {35, 62},
                               {65, 60},
                               {40, 48},
                               {60, 48},
                               {36, 70},
                               {64, 68}})
        b.object("Pine Tree", x, y);
    for (const auto &[x, y] : {std::pair{46.5f, 65.6f},
                               {53.5f, 65.6f},
                               {46.5f, 58.4f},
                               {53.5f, 58.4f},
                               {48.2f, 73.5f},
                               {51.8f, 76},
                               {45.5f, 62.9f}})
        b.object("Bush", x, y);
    for (const auto &[x, y] : {std::pair{53.2f, 76.5f}, {58.8f, 78}, {56, 79.3f}, {39, 76}})
        b.object("Rock", x, y);

    // A gazebo facing the walk, and a picnic lawn on the other side.
    b.object("Gazebo", 57, 72, Rotation::Left);
    b.object("Picnic Table", 42, 70.5f);
    b.object("Picnic Table", 43.5f, 73.5f, Rotation::Right);
    b.object("Picnic Table", 41, 75.5f);
    b.object("Rubbish Bin", 44.8f, 71.5f);
    b.object("Rubbish Bin", 51, 65.4f);

    b.text(QStringLiteral("Lotwright Park"), Kind::TextBig, 50, 52, rgb(20, 96, 40));
    b.text(QStringLiteral("Picnic Area"), Kind::TextEyeLevel, 42.5f, 68, rgb(120, 70, 20),
           Rotation::Forward, true);
    b.text(QStringLiteral("Gazebo"), Kind::TextEyeLevel, 57, 69.8f, rgb(40, 70, 50),
           Rotation::Forward, true);
    return w;
}

World gallery()
{
    Builder b;
    World &w = b.world;
    w.Sky = QStringLiteral("Blue Sky");
    w.Ground = QStringLiteral("Grass");
    w.Music = QStringLiteral("music/gallery.wav");
    // Just inside the door, facing the display wall.
    w.StartPosX = 50;
    w.StartPosY = 54.6;
    w.StartAngle = 0;

    // The hall: four walls with a door in the south one, a display wall in
    // the middle, a parquet floor and a ceiling.
    const int32_t wall = rgb(236, 230, 214);
    b.cube(Kind::Floor, 44.2f, 47.2f, 55.8f, 54.8f, rgb(178, 128, 80));
    b.cube(Kind::Wall, 44, 47, 56, 47.2f, wall);
    b.cube(Kind::Wall, 44, 47.2f, 44.2f, 55, wall);
    b.cube(Kind::Wall, 55.8f, 47.2f, 56, 55, wall);
    b.cube(Kind::Wall, 44.2f, 54.8f, 49.4f, 55, wall);
    b.cube(Kind::Wall, 50.6f, 54.8f, 55.8f, 55, wall);
    b.cube(Kind::Wall, 48.2f, 50.9f, 51.8f, 51.1f, rgb(44, 62, 98));
    b.cube(Kind::Ceiling, 44, 47, 56, 55, rgb(246, 246, 242));
    b.cube(Kind::Floor, 49.4f, 55, 50.6f, 63, Paving);

    // Pictures: a 4:3 painting is 0.72 by 0.54 (8.6 by 6.5 feet).
    const QString web = QStringLiteral("https://example.com/lotwright-gallery/");
    b.picture("sunset.jpg", 49.1f, 51.11f, 0.72f, 0.54f, Rotation::Forward,
              web + QStringLiteral("sunset.html"), QStringLiteral("_blank"));
    b.picture("mountains.jpg", 50.9f, 51.11f, 0.72f, 0.54f, Rotation::Forward);
    b.picture("abstract.gif", 50, 50.89f, 0.6f, 0.6f, Rotation::Backward);
    b.picture("forest.jpg", 46.5f, 47.21f, 0.72f, 0.54f, Rotation::Forward);
    b.picture("flowers.jpg", 50, 47.21f, 0.45f, 0.6f, Rotation::Forward);
    b.picture("night-city.jpg", 53.5f, 47.21f, 0.72f, 0.54f, Rotation::Forward);
    b.picture("harbour.jpg", 44.21f, 51, 0.72f, 0.54f, Rotation::Right);
    // The name board over the door, linked to the gallery's site.
    b.picture("gallery-sign.gif", 50, 55.01f, 1.28f, 0.32f, Rotation::Forward, web,
              QStringLiteral("_blank"), 0.64f);

    b.object("Park Bench", 50, 52.6f, Rotation::Backward);
    b.object("Statue", 45.2f, 53.6f, Rotation::Right, web + QStringLiteral("sculpture.html"),
             QStringLiteral("_top"));
    b.object("Piano", 55.5f, 49.5f, Rotation::Left);
    b.object("Floor Lamp", 55.4f, 48.3f);
    for (const auto &[x, y] : {std::pair{47.8f, 51.0f},
                               {52.2f, 51},
                               {44.6f, 47.6f},
                               {55.4f, 47.6f},
                               {44.6f, 54.4f},
                               {55.4f, 54.4f}})
        b.object("Potted Plant", x, y);

    // Outside: the approach with lamps, trees and flower beds.
    for (const auto &[x, y] :
         {std::pair{48.9f, 57.0f}, {51.1f, 57}, {48.9f, 60.5f}, {51.1f, 60.5f}})
        b.object("Lamp Post", x, y);
    for (const auto &[x, y] : {std::pair{47.6f, 56.0f}, {52.4f, 56}})
        b.object("Flower Bed", x, y);
    for (const auto &[x, y] : {std::pair{41.0f, 49.0f}, {59, 49}, {41, 56}, {59, 56}})
        b.object("Oak Tree", x, y);
    for (const auto &[x, y] : {std::pair{45.5f, 59.0f}, {54.5f, 59}})
        b.object("Birch Tree", x, y);
    for (const auto &[x, y] : {std::pair{44.0f, 56.0f}, {56, 56}, {46, 56.2f}, {54, 56.2f}})
        b.object("Bush", x, y);
    b.object("Park Bench", 48.4f, 59, Rotation::Right);
    b.object("Park Bench", 51.6f, 59, Rotation::Left);

    b.text(QStringLiteral("Lotwright Gallery"), Kind::TextBig, 50, 51, rgb(24, 40, 80));
    b.text(QStringLiteral("Open Daily"), Kind::TextEyeLevel, 46.5f, 62.5f, rgb(24, 40, 80),
           Rotation::Forward, true);
    b.text(QStringLiteral("Our Web Site"), Kind::TextEyeLevel, 53.5f, 62.5f, rgb(160, 40, 30),
           Rotation::Forward, true, web, QStringLiteral("_blank"));
    return w;
}

World street()
{
    Builder b;
    World &w = b.world;
    w.Sky = QStringLiteral("Blue Sky");
    w.Ground = QStringLiteral("Grass");
    // In the northbound lane of Elm Avenue, looking up to the crossing.
    w.StartPosX = 50.6;
    w.StartPosY = 70;
    w.StartAngle = 0;

    // Main Street runs east-west, Elm Avenue north-south; streets and
    // pavements meet edge to edge so that no two slabs overlap.
    b.cube(Kind::Street, 10, 48.8f, 90, 51.2f);
    b.cube(Kind::Street, 48.8f, 20, 51.2f, 48.8f);
    b.cube(Kind::Street, 48.8f, 51.2f, 51.2f, 90);
    b.cube(Kind::Floor, 10, 47.8f, 47.8f, 48.8f, Pavement);
    b.cube(Kind::Floor, 52.2f, 47.8f, 90, 48.8f, Pavement);
    b.cube(Kind::Floor, 10, 51.2f, 47.8f, 52.2f, Pavement);
    b.cube(Kind::Floor, 52.2f, 51.2f, 90, 52.2f, Pavement);
    b.cube(Kind::Floor, 47.8f, 20, 48.8f, 48.8f, Pavement);
    b.cube(Kind::Floor, 51.2f, 20, 52.2f, 48.8f, Pavement);
    b.cube(Kind::Floor, 47.8f, 51.2f, 48.8f, 90, Pavement);
    b.cube(Kind::Floor, 51.2f, 51.2f, 52.2f, 90, Pavement);

    // Houses facing the streets, with trees between them.
    for (float x = 14; x < 47; x += 6) {
        b.object("Small House", x, 44.5f, Rotation::Forward);
        b.object("Small House", x, 55.5f, Rotation::Backward);
        if (x < 44) {
            b.object(int(x) % 12 == 2 ? "Oak Tree" : "Birch Tree", x + 3, 44.5f);
            b.object(int(x) % 12 == 2 ? "Birch Tree" : "Oak Tree", x + 3, 55.5f);
        }
    }
    for (float x = 56; x < 90; x += 6) {
        b.object("Small House", x, 44.5f, Rotation::Forward);
        b.object("Small House", x, 55.5f, Rotation::Backward);
        if (x < 86) {
            b.object(int(x) % 12 == 8 ? "Oak Tree" : "Birch Tree", x + 3, 44.5f);
            b.object(int(x) % 12 == 8 ? "Birch Tree" : "Oak Tree", x + 3, 55.5f);
        }
    }
    for (float y = 61; y < 86; y += 6) {
        b.object("Small House", 44.5f, y, Rotation::Right);
        b.object("Small House", 55.5f, y, Rotation::Left);
        b.object(int(y) % 12 == 1 ? "Oak Tree" : "Pine Tree", 44.5f, y + 3);
        b.object(int(y) % 12 == 1 ? "Pine Tree" : "Oak Tree", 55.5f, y + 3);
    }
    for (float y = 24; y < 44; y += 6) {
        b.object("Small House", 44.5f, y, Rotation::Right);
        b.object("Small House", 55.5f, y, Rotation::Left);
    }

    // Traffic lights on the four corners, each facing the traffic it stops.
    b.object("Traffic Light", 51.7f, 51.7f, Rotation::Forward);
    b.object("Traffic Light", 48.3f, 48.3f, Rotation::Backward);
    b.object("Traffic Light", 51.7f, 48.3f, Rotation::Right);
    b.object("Traffic Light", 48.3f, 51.7f, Rotation::Left);
    b.object("Street Sign", 52, 52.1f);
    b.object("Street Sign", 48, 47.9f);

    // Traffic keeps to the right.
    b.object("Car", 50.6f, 58, Rotation::Backward);
    b.object("Car", 49.4f, 63, Rotation::Forward);
    b.object("Car", 49.4f, 40, Rotation::Forward);
    b.object("Car", 30, 50.6f, Rotation::Right);
    b.object("Car", 46, 50.6f, Rotation::Right);
    b.object("Car", 62, 49.4f, Rotation::Left);
    b.object("Car", 74, 49.4f, Rotation::Left);
    b.object("Bus", 38, 49.4f, Rotation::Left);
    b.object("Bus Stop", 38, 48.3f, Rotation::Forward);

    // Street furniture on the pavements.
    for (float y = 56; y < 86; y += 6) {
        b.object("Lamp Post", 48.1f, y);
        b.object("Lamp Post", 51.9f, y + 3);
    }
    for (float x = 15; x < 86; x += 10) {
        b.object("Lamp Post", x, 48.1f);
        if (x + 5 != 50) // the crossing
            b.object("Lamp Post", x + 5, 51.9f);
    }
    b.object("Mailbox", 51.75f, 54.5f, Rotation::Left);
    b.object("Fire Hydrant", 48.2f, 59);
    b.object("Fire Hydrant", 51.8f, 66);
    b.object("Rubbish Bin", 48.25f, 53);
    b.object("Rubbish Bin", 36.5f, 48.2f);

    b.text(QStringLiteral("Main Street"), Kind::TextBig, 50, 46, rgb(20, 40, 110));
    b.text(QStringLiteral("Elm Avenue"), Kind::TextEyeLevel, 46.2f, 78, rgb(30, 90, 50),
           Rotation::Right);
    return w;
}

} // namespace SampleWorlds
