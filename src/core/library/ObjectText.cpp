#include "core/library/ObjectText.h"

#include <charconv>

namespace {

// Numbers as short as their precision allows: the files of large models are
// megabytes of them, and the browser reads every digit.
void appendNumber(QString &out, float value, int digits)
{
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value == 0 ? 0.0f : value,
                                   std::chars_format::general, digits)
                         .ptr;
    out += QLatin1String(buffer, int(end - buffer));
}

void appendValues(QString &out, const char *node, const char *field,
                  const std::vector<float> &values, size_t per, int digits)
{
    out +=
        QLatin1String(node) + QLatin1String(" { ") + QLatin1String(field) + QLatin1String(" [\r\n");
    for (size_t i = 0; i < values.size(); i += per) {
        for (size_t j = 0; j < per; ++j) {
            appendNumber(out, values[i + j], digits);
            out += QLatin1Char(j + 1 < per ? ' ' : ',');
        }
        out += QLatin1String(i / per % 8 == 7 ? "\r\n" : " ");
    }
    out += QLatin1String("] }\r\n");
}

void appendShape(QString &out, const ModelMesh &mesh, const QString &texture)
{
    out += QLatin1String("Shape {\r\nappearance Appearance {\r\nmaterial Material { diffuseColor ");
    for (const float c : mesh.diffuse) {
        appendNumber(out, c, 4);
        out += QLatin1Char(' ');
    }
    if (mesh.transparency > 0) {
        out += QLatin1String("transparency ");
        appendNumber(out, mesh.transparency, 4);
        out += QLatin1Char(' ');
    }
    out += QLatin1String("}\r\n");
    if (!texture.isEmpty()) {
        // Our own names ("user-<hash>.png"): nothing to escape.
        out += QLatin1String("texture ImageTexture { url \"") + texture + QLatin1String("\" }\r\n");
    }
    // Models from elsewhere often face some triangles inwards: both sides drawn.
    out += QLatin1String("}\r\ngeometry IndexedFaceSet {\r\nsolid FALSE\r\n");
    if (mesh.normals.empty())
        out += QLatin1String("creaseAngle 0.8\r\n");
    out += QLatin1String("coord ");
    appendValues(out, "Coordinate", "point", mesh.positions, 3, 6);
    if (!mesh.normals.empty()) {
        out += QLatin1String("normal ");
        appendValues(out, "Normal", "vector", mesh.normals, 3, 4);
    }
    if (!texture.isEmpty() && !mesh.texCoords.empty()) {
        out += QLatin1String("texCoord ");
        appendValues(out, "TextureCoordinate", "point", mesh.texCoords, 2, 5);
    }
    if (!mesh.colors.empty()) {
        out += QLatin1String("color ");
        appendValues(out, "Color", "color", mesh.colors, 3, 3);
    }
    out += QLatin1String("coordIndex [\r\n");
    for (size_t i = 0; i + 2 < mesh.indices.size(); i += 3) {
        out += QString::number(mesh.indices[i]) + QLatin1Char(' ') +
               QString::number(mesh.indices[i + 1]) + QLatin1Char(' ') +
               QString::number(mesh.indices[i + 2]) + QLatin1String(" -1,");
        out += QLatin1String(i / 3 % 8 == 7 ? "\r\n" : " ");
    }
    out += QLatin1String("]\r\n}\r\n}\r\n");
}

} // namespace

QString objectText(const std::vector<ModelMesh> &meshes, const QStringList &textureNames,
                   const QString &sourceName)
{
    QString shown = sourceName;
    for (QChar &c : shown) // a comment ends at a line end
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = QLatin1Char('?');
    QString out = QStringLiteral("#VRML V2.0 utf8\r\n# Imported from %1\r\nTransform {\r\n"
                                 "children [\r\n")
                      .arg(shown);
    for (const ModelMesh &mesh : meshes)
        appendShape(out, mesh, mesh.texture >= 0 ? textureNames.value(mesh.texture) : QString());
    out += QLatin1String("]\r\n}\r\n");
    return out;
}
