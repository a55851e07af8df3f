#pragma once
// The four item records of a world, fields in declaration order (which is
// also their order in the world file).

#include <QString>
#include <cstdint>

// Kind labels, stored verbatim in the records and compared case-sensitively.
namespace Kind {
inline const QString Wall = QStringLiteral("Wall");
inline const QString Floor = QStringLiteral("Floor");
inline const QString Ceiling = QStringLiteral("Ceiling");
inline const QString Street = QStringLiteral("Street");
inline const QString Shrubbery = QStringLiteral("Shrubbery");
inline const QString TextBig = QStringLiteral("Text (Big)");
inline const QString TextEyeLevel = QStringLiteral("Text (Eye-Level)");
} // namespace Kind

// The four orientations, radians about the vertical axis, compared exactly.
namespace Rotation {
constexpr float Forward = 0.0f;
constexpr float Right = 1.57f;
constexpr float Backward = 3.14f;
constexpr float Left = -1.57f;
} // namespace Rotation

struct ObjectInfo {
    QString Name; // key field: name of a library entry
    float X = 0;
    float Y = 0;
    float Rotation = 0;
    QString Anchor;
    QString Target;
};

struct PictureInfo {
    float X = 0;
    float Y = 0;
    float OffGround = 0;
    float Width = 0;
    float Height = 0;
    float Rotation = 0;
    bool Billboard = false;
    QString FileName; // key field: full path of the picture
    QString Anchor;
    QString Target;
};

struct TextInfo {
    QString Text; // key field
    float X = 0;
    float Y = 0;
    int32_t Color = 0;
    float Rotation = 0;
    QString Kind;
    bool Billboard = false;
    QString Anchor;
    QString Spare;
    QString Target;
};

struct CubeInfo {
    QString Kind; // key field: "Wall", "Floor", "Ceiling", "Street" or "Shrubbery"
    float X1 = 0;
    float X2 = 0;
    float Y1 = 0;
    float Y2 = 0;
    int32_t Color = 0;
};
