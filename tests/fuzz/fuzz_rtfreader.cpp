// libFuzzer target for the RTF reader; tools/fuzz.sh builds and runs it. Not part of the CMake
// build: it needs clang and the sanitizers.
#include "platform/Rtf.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QTextBlock>
#include <QTextDocument>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char *why)
{
    std::fprintf(stderr, "fuzz_rtfreader: %s\n", why);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_rtfreader";
    static char *argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);

    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QTextDocument document;
    document.setPlainText(QStringLiteral("what the document held before"));
    Platform::readRtf(bytes, &document);

    // Every character of the document comes from at least one byte of the file: what keeps the
    // memory it takes in proportion to the input.
    if (document.characterCount() > qsizetype(size) + 1)
        fail("more characters than bytes");
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (c.isHighSurrogate() && !(i + 1 < text.size() && text.at(i + 1).isLowSurrogate()))
                fail("lone high surrogate");
            if (c.isLowSurrogate() && !(i > 0 && text.at(i - 1).isHighSurrogate()))
                fail("lone low surrogate");
            if (c.unicode() == 0xFDD0 || c.unicode() == 0xFDD1 || c == QChar::ParagraphSeparator)
                fail("a character that is document structure");
        }
    }
    return 0;
}
