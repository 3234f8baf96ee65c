#include "CodecTesting.h"

#include <QByteArray>

namespace Platform {

char *toString(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Ansi: return qstrdup("Ansi");
    case TextEncoding::Windows1252: return qstrdup("Windows1252");
    case TextEncoding::Utf8Bom: return qstrdup("Utf8Bom");
    case TextEncoding::Utf16LE: return qstrdup("Utf16LE");
    case TextEncoding::Utf16BE: return qstrdup("Utf16BE");
    }
    return qstrdup("?");
}

char *toString(LineBreak lineBreak)
{
    switch (lineBreak) {
    case LineBreak::CrLf: return qstrdup("CrLf");
    case LineBreak::Lf: return qstrdup("Lf");
    case LineBreak::Cr: return qstrdup("Cr");
    }
    return qstrdup("?");
}

} // namespace Platform
