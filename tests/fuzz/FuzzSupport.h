#pragma once
// What the fuzz targets share: the input as bytes, and a check that stops the
// run (libFuzzer then saves the input that broke it).

#include <QByteArray>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

inline QByteArray bytesOf(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

#define FUZZ_REQUIRE(condition)                                                                    \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: %s does not hold\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
