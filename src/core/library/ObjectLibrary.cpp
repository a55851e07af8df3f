#include "core/library/ObjectLibrary.h"

#include "core/files/FileServices.h"
#include "core/model/NumberText.h"
#include "core/model/StoredColor.h"

#include <QFileInfo>
#include <QLocale>
#include <cmath>
#include <optional>

namespace
{

// The number at the start of a colour part: leading blanks skipped, a full
// stop as decimal point, no number reads 0. Rounded half to even and held to
// 0..255.
int colourComponent(const QString &part)
{
    int i = 0;
    const int n = int(part.size());
    while (i < n && (part[i] == QLatin1Char(' ') || part[i] == QLatin1Char('\t')))
        ++i;
    const int start = i;
    const auto digits = [&] {
        const int from = i;
        while (i < n && part[i].isDigit() && part[i].unicode() < 128)
            ++i;
        return i > from;
    };
    if (i < n && (part[i] == QLatin1Char('-') || part[i] == QLatin1Char('+')))
        ++i;
    bool any = digits();
    if (i < n && part[i] == QLatin1Char('.')) {
        ++i;
        any = digits() || any;
    }
    if (!any)
        return 0;
    if (i < n && (part[i] == QLatin1Char('e') || part[i] == QLatin1Char('E'))) {
        const int mark = i++;
        if (i < n && (part[i] == QLatin1Char('-') || part[i] == QLatin1Char('+')))
            ++i;
        if (!digits())
            i = mark; // "5e" is 5
    }
    const QString number = part.mid(start, i - start);
    bool ok = false;
    double value = QLocale::c().toDouble(number, &ok);
    if (!ok) // only out of range is left: an overflow is as big as it gets
        value = number.startsWith(QLatin1Char('-')) ? -HUGE_VAL : HUGE_VAL;
    value = NumberText::roundHalfEven(value);
    if (value > 255)
        return 255;
    if (value < 0)
        return 0;
    return int(value);
}

// One line as an entry, or the reason it cannot be one.
struct LineRead {
    std::optional<ShapeInfo> shape;
    QString reason;
};

LineRead parseLine(const QString &line)
{
    if (line.isEmpty())
        return {std::nullopt, QStringLiteral("empty line")};
    const QStringList fields = line.split(QLatin1Char('\t'));
    if (fields.size() < 5)
        return {std::nullopt,
                QStringLiteral("five TAB-separated fields needed, found %1").arg(fields.size())};

    ShapeInfo shape;
    const auto width = NumberText::toDouble(fields[0]);
    if (!width)
        return {std::nullopt,
                QStringLiteral("the width %1 is not a number").arg(quoted(fields[0]))};
    const auto depth = NumberText::toDouble(fields[1]);
    if (!depth)
        return {std::nullopt,
                QStringLiteral("the depth %1 is not a number").arg(quoted(fields[1]))};
    const QStringList colour = fields[2].split(QLatin1Char(' '));
    if (colour.size() < 3)
        return {std::nullopt,
                QStringLiteral("the colour %1 does not have three parts").arg(quoted(fields[2]))};
    const QString &fileName = fields[4];
    if (fileName.size() < 4)
        return {std::nullopt, QStringLiteral("the file name %1 is shorter than four characters")
                                  .arg(quoted(fileName))};

    shape.Width = *width;
    shape.Depth = *depth;
    shape.MapColor = StoredColor::fromRgb(colourComponent(colour[0]), colourComponent(colour[1]),
                                          colourComponent(colour[2]));
    shape.MapShape = fields[3];
    shape.FileName = fileName;
    shape.Name = fileName.left(fileName.size() - 4);
    return {shape, QString()};
}

} // namespace

QString objectFolder(const QString &programFolder, const ShapeInfo &shape)
{
    return shape.Folder.isEmpty() ? Files::pathIn(programFolder, QStringLiteral("Objects"))
                                  : shape.Folder;
}

LibraryLoad parseLibrary(const QString &text)
{
    LibraryLoad load;
    // Lines end in CR LF; a lone LF (a library edited with a Unix editor) ends
    // a line as well rather than gluing every entry into the first one.
    // An empty line, the one after a final line end included, is reported
    // like any other line that is not an entry.
    if (text.isEmpty()) {
        load.warnings << QStringLiteral("objects.txt is empty: no object can be placed");
        return load;
    }
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        LineRead read = parseLine(line);
        if (read.shape)
            load.Shapes.push_back(std::move(*read.shape));
        else
            load.warnings << QStringLiteral("objects.txt line %1: %2").arg(i + 1).arg(read.reason);
    }
    return load;
}

LibraryLoad Init_Shapes(const QString &programFolder)
{
    QStringList problems;
    for (const QString &folder : {QStringLiteral("Textures"), QStringLiteral("Objects")})
        if (Status created = Files::createFolder(Files::pathIn(programFolder, folder)); !created)
            problems << created.error;

    const QString path = Files::pathIn(Files::pathIn(programFolder, QStringLiteral("Objects")),
                                       QStringLiteral("objects.txt"));
    LibraryLoad load;
    if (QFileInfo::exists(path)) { // a folder or a pipe of that name is reported
        const TextRead read = Files::readTextFile(path);
        if (read.ok())
            load = parseLibrary(read.text);
        else
            problems << read.error;
    }
    load.warnings = problems + load.warnings;
    return load;
}
