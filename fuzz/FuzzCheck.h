#pragma once
#include <QByteArray>
#include <QString>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <string>

// A broken invariant is reported like a crash, so libFuzzer keeps the input.
#define FUZZ_CHECK(cond)                                                                           \
    do {                                                                                           \
        if (!(cond)) {                                                                             \
            std::fprintf(stderr, "invariant broken: %s (%s:%d)\n", #cond, __FILE__, __LINE__);    \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

namespace fuzz {

inline QByteArray bytes(const std::string &s) { return QByteArray(s.data(), qsizetype(s.size())); }

inline QByteArray takeBytes(FuzzedDataProvider &in, size_t max)
{
    return bytes(in.ConsumeRandomLengthString(max));
}

inline QByteArray restBytes(FuzzedDataProvider &in) { return bytes(in.ConsumeRemainingBytesAsString()); }

// Text as a window or the system would hand it over: UTF-8 of the fuzz bytes.
inline QString takeText(FuzzedDataProvider &in, size_t max)
{
    return QString::fromUtf8(takeBytes(in, max));
}

} // namespace fuzz
