#include "platform/Windows1252.h"

namespace Platform::Windows1252 {

namespace {

// 0x00-0x7F and 0xA0-0xFF are the code points of the same value; only 0x80-0x9F differ.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

constexpr auto kTable = [] {
    struct Table {
        char16_t chars[256];
    } table{};
    for (int byte = 0; byte < 256; ++byte)
        table.chars[byte] = (byte >= 0x80 && byte < 0xA0) ? kHighControls[byte - 0x80]
                                                            : char16_t(byte);
    return table;
}();

// The byte that stands for c, or -1 when the code page has none.
int fromUnicode(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    switch (c) {
    case 0x20AC: return 0x80;
    case 0x0081: return 0x81;
    case 0x201A: return 0x82;
    case 0x0192: return 0x83;
    case 0x201E: return 0x84;
    case 0x2026: return 0x85;
    case 0x2020: return 0x86;
    case 0x2021: return 0x87;
    case 0x02C6: return 0x88;
    case 0x2030: return 0x89;
    case 0x0160: return 0x8A;
    case 0x2039: return 0x8B;
    case 0x0152: return 0x8C;
    case 0x008D: return 0x8D;
    case 0x017D: return 0x8E;
    case 0x008F: return 0x8F;
    case 0x0090: return 0x90;
    case 0x2018: return 0x91;
    case 0x2019: return 0x92;
    case 0x201C: return 0x93;
    case 0x201D: return 0x94;
    case 0x2022: return 0x95;
    case 0x2013: return 0x96;
    case 0x2014: return 0x97;
    case 0x02DC: return 0x98;
    case 0x2122: return 0x99;
    case 0x0161: return 0x9A;
    case 0x203A: return 0x9B;
    case 0x0153: return 0x9C;
    case 0x009D: return 0x9D;
    case 0x017E: return 0x9E;
    case 0x0178: return 0x9F;
    default: return -1;
    }
}

} // namespace

QString decode(QByteArrayView bytes)
{
    QString text;
    decode(bytes, text);
    return text;
}

void decode(QByteArrayView bytes, QString &text)
{
    text.resize(bytes.size());
    auto *out = reinterpret_cast<char16_t *>(text.data());
    const auto *in = reinterpret_cast<const uchar *>(bytes.data());
    for (qsizetype i = 0, n = bytes.size(); i < n; ++i)
        out[i] = kTable.chars[in[i]];
}

char *encode(QStringView text, char *out)
{
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c < 0x80) {
            *out++ = char(c);
            continue;
        }
        const int byte = fromUnicode(c);
        if (byte < 0)
            return nullptr;
        *out++ = char(byte);
    }
    return out;
}

bool canEncode(QStringView text)
{
    for (const QChar ch : text) {
        if (fromUnicode(ch.unicode()) < 0)
            return false;
    }
    return true;
}

} // namespace Platform::Windows1252
