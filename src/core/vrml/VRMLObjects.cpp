#include "core/vrml/VRMLObjects.h"

#include "core/model/StoredColor.h"

#include <array>

namespace
{

// Every export writes thousands of colours; the 256 component texts are
// formatted once.
const QString &componentText(int component)
{
    static const std::array<QString, 256> texts = [] {
        std::array<QString, 256> t;
        for (uint32_t i = 0; i < t.size(); ++i)
            t[i] = QString::number(double(i) / 255.0, 'f', 6);
        return t;
    }();
    return texts[size_t(component)];
}

const QLatin1String Header("#VRML V2.0 utf8");

} // namespace

QString VRMLColor(int32_t color)
{
    return componentText(StoredColor::red(color)) + QLatin1Char(' ') +
           componentText(StoredColor::green(color)) + QLatin1Char(' ') +
           componentText(StoredColor::blue(color));
}

TextRead GetObjectCode(const QString &programFolder, const ShapeInfo &shape)
{
    const QString path = Files::pathIn(objectFolder(programFolder, shape), shape.FileName);
    TextRead read = Files::readTextFile(path);
    if (!read.ok())
        return read;
    // Pasted into the world, anything but VRML 2.0 would break the whole world.
    if (!read.text.startsWith(Header))
        return {QString(), Files::cannot("read", path,
                                         QStringLiteral("it does not begin with \"%1\", so it "
                                                        "is no VRML 2.0 object")
                                             .arg(Header))};
    // A tool may write more on the header line ("#VRML V2.0 utf8 made by ..."):
    // the whole line goes, its line end stays.
    qsizetype end = Header.size();
    while (end < read.text.size() && read.text[end] != QLatin1Char('\r') &&
           read.text[end] != QLatin1Char('\n'))
        ++end;
    read.text.remove(0, end);
    return read;
}
