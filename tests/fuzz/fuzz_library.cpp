// objects.txt on any bytes: the entries it gives must get distinct names in
// the exported world, each a valid VRML97 identifier.

#include "FuzzSupport.h"

#include "core/vrml/VrmlItems.h"
#include "core/files/TextCodec.h"

#include <QSet>

namespace {

// An identifier VRML97 and Coin both take: letters, digits and "_", not
// starting with a digit, and not a keyword.
bool isIdentifier(const QString &id)
{
    static const QStringList keywords{"DEF",   "EXTERNPROTO", "FALSE", "IS",   "NULL",
                                      "PROTO", "ROUTE",       "TO",    "TRUE", "USE"};
    if (id.isEmpty() || keywords.contains(id) || QStringLiteral("0123456789").contains(id[0]))
        return false;
    for (const QChar c : id)
        if (!c.isLetter() && !c.isDigit() && c != QLatin1Char('_'))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const LibraryLoad load = parseLibrary(TextCodec::decode(bytesOf(data, size)));
    const QStringList ids = Vrml::definitionNames(load.Shapes);
    FUZZ_REQUIRE(ids.size() == qsizetype(load.Shapes.size()));
    FUZZ_REQUIRE(QSet<QString>(ids.begin(), ids.end()).size() == ids.size());
    for (const QString &id : ids)
        FUZZ_REQUIRE(isIdentifier(id));
    return 0;
}
