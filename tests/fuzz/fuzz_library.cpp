// objects.txt on any bytes: the entries it gives must get distinct names in
// the exported world, each a valid VRML97 identifier.

#include "FuzzSupport.h"

#include "core/vrml/VrmlItems.h"
#include "core/files/TextCodec.h"

#include <QSet>

namespace {

// VRML97's Id: no control characters, blanks, " # ' , . [ \ ] { } or DEL,
// not starting with a digit, + or -, and not a keyword.
bool isIdentifier(const QString &id)
{
    static const QString never = QStringLiteral("\"#',.[\\]{}");
    static const QStringList keywords{"DEF",   "EXTERNPROTO", "FALSE", "IS",   "NULL",
                                      "PROTO", "ROUTE",       "TO",    "TRUE", "USE"};
    if (id.isEmpty() || keywords.contains(id) || QStringLiteral("0123456789+-").contains(id[0]))
        return false;
    for (const QChar c : id)
        if (c.unicode() <= 0x20 || c.unicode() == 0x7F || never.contains(c))
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
