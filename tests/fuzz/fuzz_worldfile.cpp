// The world file on any bytes, in four locales (full stop, decimal comma,
// the Arabic decimal separator, and a comma with a Unicode minus sign): a
// world that reads, saved and read again, gives the same saved bytes (and the
// very world when the input was such a saved file), and opens the same in
// every other locale.

#include "FuzzSupport.h"

#include "core/files/TextCodec.h"
#include "core/model/WorldFile.h"

namespace {

QByteArray saved(const WorldRead &read, const QLocale &locale)
{
    return TextCodec::encode(WorldFile::format(read.world, read.fractions, locale));
}

WorldRead loaded(const QByteArray &bytes, const QLocale &locale)
{
    return WorldFile::parse(TextCodec::decode(bytes), locale);
}

bool same(const WorldRead &a, const WorldRead &b)
{
    return a.world == b.world && a.fractions.vertical == b.fractions.vertical &&
           a.fractions.horizontal == b.fractions.horizontal;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QLocale locales[] = {QLocale::c(), QLocale(QLocale::German, QLocale::Germany),
                                      QLocale(QLocale::Arabic, QLocale::Egypt),
                                      QLocale(QLocale::Swedish, QLocale::Sweden)};
    const QByteArray input = bytesOf(data, size);
    for (const QLocale &locale : locales) {
        const WorldRead first = loaded(input, locale);
        if (!first.ok())
            continue;
        const QByteArray bytes = saved(first, locale);
        const WorldRead second = loaded(bytes, locale);
        FUZZ_REQUIRE(second.ok());
        FUZZ_REQUIRE(saved(second, locale) == bytes);
        FUZZ_REQUIRE(bytes != input || same(first, second));
        for (const QLocale &other : locales) {
            const WorldRead elsewhere = loaded(bytes, other);
            FUZZ_REQUIRE(elsewhere.ok() && same(elsewhere, second));
        }
    }
    return 0;
}
