#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Windows-1252 as Windows itself converts it: the five bytes the code page leaves undefined stand
// for the C1 controls of the same value, so every byte has a character and no two bytes share one.
// Any byte sequence therefore decodes and encodes back unchanged. Qt reads this code page only
// when it is built with ICU, which its Windows builds are not.
namespace Platform::Windows1252 {

QString decode(QByteArrayView bytes);
// The same into text, whose memory is used again: a reader that decodes many short runs.
void decode(QByteArrayView bytes, QString &text);

// Writes one byte per character of text from out on and returns the end; returns nullptr as soon
// as a character has no byte (what was written until then is of no use).
char *encode(QStringView text, char *out);

bool canEncode(QStringView text);

} // namespace Platform::Windows1252
