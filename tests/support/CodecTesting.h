#pragma once

#include "platform/TextCodec.h"

#include <QByteArray>

// Readable failure messages for QCOMPARE (found by argument-dependent lookup).
namespace Platform {
char *toString(TextEncoding encoding);
char *toString(LineBreak lineBreak);
} // namespace Platform

// A byte literal that may hold NUL.
template <qsizetype N>
QByteArray raw(const char (&bytes)[N])
{
    return QByteArray(bytes, N - 1);
}
