// The VRML export of any world that reads, with the shipped library: every
// string must end where it should and every brace and bracket must close, so
// that no text from a world file can break the world a viewer reads; and Coin
// must read it without an error.

#include "FuzzSupport.h"

#include "core/vrml/VrmlWriter.h"
#include "core/files/TextCodec.h"
#include "core/model/WorldFile.h"
#include "scene/VrmlScene.h"

namespace {

const QString ProgramFolder = QStringLiteral(SOURCE_DIR "/data");

// Strings, comments and nesting as a VRML97 reader sees them.
bool wellFormed(const QString &vrml)
{
    QString open; // the brackets not yet closed
    for (qsizetype i = 0; i < vrml.size(); ++i) {
        const QChar c = vrml[i];
        if (c == QLatin1Char('#')) {
            while (i < vrml.size() && vrml[i] != QLatin1Char('\n') && vrml[i] != QLatin1Char('\r'))
                ++i;
        } else if (c == QLatin1Char('"')) {
            for (++i; i < vrml.size() && vrml[i] != QLatin1Char('"'); ++i)
                i += vrml[i] == QLatin1Char('\\');
            if (i >= vrml.size())
                return false;
        } else if (c == QLatin1Char('{') || c == QLatin1Char('[')) {
            open += c;
        } else if (c == QLatin1Char('}') || c == QLatin1Char(']')) {
            if (open.isEmpty() || open.back() != QLatin1Char(c == QLatin1Char('}') ? '{' : '['))
                return false;
            open.chop(1);
        }
    }
    return open.isEmpty();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static std::vector<ShapeInfo> shapes =
        parseLibrary(Files::readTextFile(ProgramFolder + "/Objects/objects.txt").text).Shapes;
    const WorldRead read = WorldFile::parse(TextCodec::decode(bytesOf(data, size)), QLocale::c());
    if (!read.ok())
        return 0;
    QStringList missing, leftOut;
    const TextRead text = buildWorldText(read.world, shapes, ProgramFolder, true, missing, leftOut);
    FUZZ_REQUIRE(text.ok());
    FUZZ_REQUIRE(wellFormed(text.text));
    const Scene scene = Scene::fromText(text.text.toUtf8());
    if (!scene.ok())
        std::fprintf(stderr, "%s\n", qPrintable(scene.errors().join('\n')));
    FUZZ_REQUIRE(scene.ok());
    return 0;
}
