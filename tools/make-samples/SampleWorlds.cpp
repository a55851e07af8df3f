#include "SampleWorlds.h"

#include "core/model/StoredColor.h"

namespace SampleWorlds {
namespace {

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
    // A picture hung with its centre at the eye height of a visitor standing
    // on a floor, unless offGround is given.
    void picture(const char *file, float x, float y, float width, float height, float rotation,
                 const QString &anchor = {}, const QString &target = {}, float offGround = -1)
    {
        if (offGround < 0)
            offGround = EyeOnFloor - height / 2;
        appendItem(world.Pictures,
                   PictureInfo{x, y, offGround, width, height, rotation, false,
                               QStringLiteral("pictures/") + QLatin1String(file), anchor, target});
    }
    // A painted name board hung in a "Sign Frame": the frame's opening takes a
    // picture 1.2 by 0.3 at 0.5 off the ground, at the frame's own place.
    void sign(const char *file, float x, float y, float rotation)
    {
        object("Sign Frame", x, y, rotation);
        picture(file, x, y, 1.2f, 0.3f, rotation, {}, {}, 0.5f);
    }

private:
    // The eye is 0.5 above the ground the visitor stands on; floors are 0.04 thick.
    static constexpr float EyeOnFloor = 0.54f;
};

const int32_t Sand = StoredColor::fromRgb(206, 182, 134);
const int32_t Paving = StoredColor::fromRgb(198, 190, 170);
const int32_t Pavement = StoredColor::fromRgb(186, 184, 178);

} // namespace

World park()
{
    Builder b;
    World &w = b.world;
    w.Sky = QStringLiteral("Blue Sky");
    w.Ground = QStringLiteral("Grass");
    // At the entrance on the main walk, looking north past the name board and
    // between the hedges to the fountain.
    w.StartPosX = 50;
    w.StartPosY = 78;
    w.StartAngle = 0;

    // Walks and the fountain plaza.
    b.cube(Kind::Floor, 47, 59, 53, 65, Paving);
    b.cube(Kind::Floor, 49.4f, 65, 50.6f, 86, Sand);
    b.cube(Kind::Floor, 49.4f, 46, 50.6f, 59, Sand);
    b.cube(Kind::Floor, 38, 61.4f, 47, 62.6f, Sand);
    b.cube(Kind::Floor, 53, 61.4f, 62, 62.6f, Sand);
    b.cube(Kind::Floor, 50.6f, 71.6f, 56.4f, 72.4f, Sand);        // to the gazebo
    b.cube(Kind::Floor, 53.5f, 75, 58.5f, 79, StoredColor::fromRgb(62, 112, 168)); // the pond
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
    for (const auto &[x, y] : {std::pair{45.8f, 73.6f}, {46, 76.5f}, {52.5f, 80}, {47, 79.5f}})
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
                               {46.6f, 72.7f},
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

    // The name board beside the walk, facing visitors as they come in, with
    // flowers at its foot; no lamp post stands in front of it or behind it.
    b.sign("park-sign.gif", 47.8f, 72.2f, Rotation::Forward);
    b.object("Flower Bed", 47.8f, 72.6f);
    return w;
}

World gallery()
{
    Builder b;
    World &w = b.world;
    w.Sky = QStringLiteral("Blue Sky");
    w.Ground = QStringLiteral("Grass");
    w.Music = QStringLiteral("music/gallery.wav");
    // Just inside the door, looking across the benches to the statue.
    w.StartPosX = 50;
    w.StartPosY = 53.6;
    w.StartAngle = 0;

    // The hall, 8 by 6 inside, with a door in the south wall: white stone
    // walls 0.2 thick on a grey plinth, lined inside with a coloured wall 0.02
    // thick above a dark skirting. Each of these is a ring of four sides laid
    // inside the rectangle given; slabs of the same height (floors, skirtings,
    // plinth) meet edge to edge so that none overlaps another.
    const float doorLeft = 49.4f, doorRight = 50.6f;
    const auto ring = [&](const QString &kind, float left, float top, float right, float bottom,
                          float thick, int32_t colour) {
        b.cube(kind, left, top, right, top + thick, colour);
        b.cube(kind, left, top + thick, left + thick, bottom, colour);
        b.cube(kind, right - thick, top + thick, right, bottom, colour);
        b.cube(kind, left + thick, bottom - thick, doorLeft, bottom, colour);
        b.cube(kind, doorRight, bottom - thick, right - thick, bottom, colour);
    };
    ring(Kind::Floor, 45.77f, 47.77f, 54.23f, 54.23f, 0.03f, StoredColor::fromRgb(150, 146, 138));
    ring(Kind::Wall, 45.8f, 47.8f, 54.2f, 54.2f, 0.2f, StoredColor::fromRgb(240, 236, 226));
    ring(Kind::Wall, 46, 48, 54, 54, 0.02f, StoredColor::fromRgb(150, 52, 52));
    ring(Kind::Floor, 46.02f, 48.02f, 53.98f, 53.98f, 0.03f, StoredColor::fromRgb(58, 46, 40));
    // Parquet either side of a runner that leads from the door to the statue.
    const int32_t parquet = StoredColor::fromRgb(178, 128, 80);
    const float runnerLeft = 49.7f, runnerRight = 50.3f;
    b.cube(Kind::Floor, 46.05f, 48.05f, runnerLeft, 53.95f, parquet);
    b.cube(Kind::Floor, runnerRight, 48.05f, 53.95f, 53.95f, parquet);
    b.cube(Kind::Floor, runnerLeft, 48.05f, runnerRight, 49.2f, parquet);
    b.cube(Kind::Floor, runnerLeft, 49.2f, runnerRight, 53.95f, StoredColor::fromRgb(66, 62, 70));
    b.cube(Kind::Floor, doorLeft, 53.95f, doorRight, 63, Paving); // threshold and path
    // The ceiling, with a skylight over the middle of the hall.
    const int32_t ceiling = StoredColor::fromRgb(250, 250, 246);
    b.cube(Kind::Ceiling, 45.8f, 47.8f, 54.2f, 49.5f, ceiling);
    b.cube(Kind::Ceiling, 45.8f, 52.5f, 54.2f, 54.2f, ceiling);
    b.cube(Kind::Ceiling, 45.8f, 49.5f, 49, 52.5f, ceiling);
    b.cube(Kind::Ceiling, 51, 49.5f, 54.2f, 52.5f, ceiling);
    b.cube(Kind::Ceiling, 49, 49.5f, 51, 52.5f, StoredColor::fromRgb(226, 236, 246));

    // Pictures at eye height, each on a wall that faces one of the lights:
    // a 4:3 painting is 0.72 by 0.54 (8.6 by 6.5 feet).
    const QString web = QStringLiteral("https://example.com/lotwright-gallery/");
    b.picture("forest.jpg", 47.7f, 48.03f, 0.72f, 0.54f, Rotation::Forward);
    b.picture("night-city.jpg", 52.3f, 48.03f, 0.72f, 0.54f, Rotation::Forward);
    b.picture("sunset.jpg", 46.03f, 49.6f, 0.72f, 0.54f, Rotation::Right,
              web + QStringLiteral("sunset.html"), QStringLiteral("_blank"));
    b.picture("flowers.jpg", 46.03f, 51.1f, 0.45f, 0.6f, Rotation::Right);
    b.picture("harbour.jpg", 46.03f, 52.6f, 0.72f, 0.54f, Rotation::Right);
    b.picture("mountains.jpg", 53.97f, 49.6f, 0.72f, 0.54f, Rotation::Left);
    b.picture("abstract.gif", 53.97f, 51.3f, 0.6f, 0.6f, Rotation::Left);
    // The name board over the door, linked to the gallery's site.
    b.picture("gallery-sign.gif", 50, 54.21f, 1.28f, 0.32f, Rotation::Forward, web,
              QStringLiteral("_blank"), 0.64f);

    // The statue before the north wall, benches in the middle facing it, a
    // piano in the south-east corner.
    b.object("Statue", 50, 48.7f, Rotation::Forward, web + QStringLiteral("sculpture.html"),
             QStringLiteral("_top"));
    b.object("Gallery Bench", 48.85f, 50.6f);
    b.object("Gallery Bench", 51.15f, 50.6f);
    b.object("Piano", 53.7f, 53, Rotation::Left);
    b.object("Floor Lamp", 53.75f, 52.4f);
    for (const auto &[x, y] : {std::pair{46.3f, 48.3f}, {53.7f, 48.3f}, {46.3f, 53.7f}})
        b.object("Potted Plant", x, y);

    // Outside: the opening hours and a link to the site lettered on the front,
    // lamps at the corners where they never stand before the lettering, and
    // flower beds, bushes, trees and benches along the approach.
    b.text(QStringLiteral("Open Daily"), Kind::TextEyeLevel, 47.6f, 54.24f, StoredColor::fromRgb(24, 40, 80));
    b.text(QStringLiteral("Our Web Site"), Kind::TextEyeLevel, 52.4f, 54.24f, StoredColor::fromRgb(160, 40, 30),
           Rotation::Forward, false, web, QStringLiteral("_blank"));
    for (const auto &[x, y] : {std::pair{45.2f, 55.8f}, {54.8f, 55.8f}})
        b.object("Lamp Post", x, y);
    for (const auto &[x, y] : {std::pair{47.6f, 55.4f}, {52.4f, 55.4f}})
        b.object("Flower Bed", x, y);
    for (const auto &[x, y] : {std::pair{42.5f, 49.0f}, {57.5f, 49}, {42.5f, 55.5f}, {57.5f, 55.5f}})
        b.object("Oak Tree", x, y);
    for (const auto &[x, y] : {std::pair{45.5f, 59.0f}, {54.5f, 59}})
        b.object("Birch Tree", x, y);
    for (const auto &[x, y] : {std::pair{45.4f, 54.7f}, {54.6f, 54.7f}, {45.3f, 48.5f}, {54.7f, 48.5f}})
        b.object("Bush", x, y);
    b.object("Park Bench", 48.4f, 59, Rotation::Right);
    b.object("Park Bench", 51.6f, 59, Rotation::Left);
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
    // North of the crossing the last house keeps clear of the corner house
    // of Main Street behind it (a house is 3.24 wide and 2.8 deep).
    for (float y = 22; y < 42; y += 6) {
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

    // The town's welcome board on the verge, facing the oncoming traffic
    // between two lamp posts.
    b.sign("town-sign.gif", 53.05f, 64, Rotation::Forward);
    return w;
}

} // namespace SampleWorlds
