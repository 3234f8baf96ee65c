#include "platform/Rtf.h"

#include <QFile>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

std::unique_ptr<QTextDocument> load(const QByteArray &rtf)
{
    auto document = std::make_unique<QTextDocument>();
    Platform::readRtf(rtf, document.get());
    return document;
}

QByteArray fixture(const QString &name)
{
    QFile file(QFINDTESTDATA(u"rtf/"_s + name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", qPrintable(name));
    return file.readAll();
}

QStringList blockTexts(const QTextDocument &document)
{
    QStringList texts;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        texts.append(block.text());
    return texts;
}

// The document as the user reads it: paragraphs on lines of their own, every character as it is.
QString shownText(const QTextDocument &document)
{
    return blockTexts(document).join(u'\n');
}

QTextBlock blockWithText(const QTextDocument &document, const QString &text)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.text() == text)
            return block;
    }
    return {};
}

// The format of a piece of text (where it stands as a word of its own, if it does anywhere), which
// must be the same from its first to its last character.
QTextCharFormat formatOf(const QTextDocument &document, const QString &fragment)
{
    QTextCursor found = document.find(
        fragment, 0, QTextDocument::FindCaseSensitively | QTextDocument::FindWholeWords);
    if (found.isNull())
        found = document.find(fragment, 0, QTextDocument::FindCaseSensitively);
    if (found.isNull()) {
        qWarning("'%s' is not in the document", qPrintable(fragment));
        return {};
    }
    QTextCursor first(const_cast<QTextDocument *>(&document));
    first.setPosition(found.selectionStart() + 1);
    QTextCursor last(const_cast<QTextDocument *>(&document));
    last.setPosition(found.selectionEnd());
    if (first.charFormat() != last.charFormat())
        qWarning("'%s' changes its format on the way", qPrintable(fragment));
    return first.charFormat();
}

QString colourName(const QTextCharFormat &format)
{
    return format.hasProperty(QTextFormat::ForegroundBrush) ? format.foreground().color().name()
                                                            : QString();
}

// A small document with the fonts the character rows use.
QByteArray rtf(const QByteArray &body)
{
    return R"({\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0\fswiss Arial;})"
           R"({\f1\froman\fcharset2 Symbol;})"
           R"({\f2\fswiss\fcharset238 Arial CE;}{\f3\fswiss\fcharset204 Arial Cyr;})"
           R"({\f4\fswiss\fcharset161 Arial Greek;}{\f5\fnil\fcharset2 Wingdings;}})"
           R"({\colortbl;\red255\green0\blue0;\red0\green128\blue0;})"
        + body + "}";
}

} // namespace

class RtfReaderTest : public QObject
{
    Q_OBJECT

private slots:
    void recognisesRtf_data();
    void recognisesRtf();
    void readsWhatCommonWritersWrite_data();
    void readsWhatCommonWritersWrite();
    void formatsCharacters_data();
    void formatsCharacters();
    void formatsParagraphs_data();
    void formatsParagraphs();
    void makesLists_data();
    void makesLists();
    void keepsLinkAddresses_data();
    void keepsLinkAddresses();
    void decodesText_data();
    void decodesText();
    void showsSymbolFontsAsText_data();
    void showsSymbolFontsAsText();
    void scopesFormattingToGroups_data();
    void scopesFormattingToGroups();
    void survivesHostileInput_data();
    void survivesHostileInput();
    void replacesTheContent();
};

void RtfReaderTest::recognisesRtf_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("rtf");

    QTest::newRow("rtf") << "{\\rtf1\\ansi hello}"_ba << true;
    QTest::newRow("after white space") << " \r\n\t{\\rtf1 x}"_ba << true;
    QTest::newRow("bare header") << "{\\rtf"_ba << true;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("plain text") << "Kære Kim, {\\rtf1} er RTF"_ba << false;
    QTest::newRow("upper case") << "{\\RTF1 x}"_ba << false;
    QTest::newRow("space inside") << "{ \\rtf1 x}"_ba << false;
    QTest::newRow("byte-order mark") << "\xEF\xBB\xBF{\\rtf1 x}"_ba << false;
    QTest::newRow("truncated") << "{\\rt"_ba << false;
}

void RtfReaderTest::recognisesRtf()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, rtf);
    QCOMPARE(Platform::looksLikeRtf(bytes), rtf);
}

void RtfReaderTest::readsWhatCommonWritersWrite_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("blocks");

    // Headers, footers, footnotes, comments, pictures, the style sheet and the document
    // information are in every one of these files, and none of them shows.
    QTest::newRow("WordPad") << u"wordpad.rtf"_s
                             << QStringList{
                                    u"Hej med dig: blåbærgrød på ÆRØ ÅÅ."_s,
                                    u"Fed, kursiv, understreget, gennemstreget, rød og blå "
                                    u"Arial."_s,
                                    u"Første punkt"_s,
                                    u"Andet punkt"_s,
                                    u"Centreret"_s,
                                    u"Højre\u2028anden linje"_s,
                                    u"Indrykket og lige margener."_s,
                                    u"Příliš žluťoučký"_s,
                                    u"Привет"_s,
                                    u"Græsk αβγ og smil 😀 slut"_s,
                                    u"Efter billedet\tmed tabulator"_s,
                                };
    QTest::newRow("Word") << u"word.rtf"_s
                          << QStringList{
                                 u"Word-tekst med æøå, fed, kursiv og lilla tekst–med αβγ og € "
                                 u"Verdana 14."_s,
                                 u"Centreret og understreget"_s,
                                 u"Punkt et"_s,
                                 u"Punkt to"_s,
                                 u"Underpunkt"_s,
                                 u"Nummer et"_s,
                                 u"Nummer to"_s,
                                 u"Link til DR Nyheder og afsnittetkommenteret."_s,
                                 u"Celle A1\tCelle B1"_s,
                                 u"\tCelle B2"_s,
                                 u"Billede  og streg."_s,
                             };
    QTest::newRow("LibreOffice") << u"libreoffice.rtf"_s
                                 << QStringList{
                                        u"Blåbærgrød på Ærø"_s,
                                        u"Normal, fed, kursiv, understreget, gennemstreget, "
                                        u"rød og kode."_s,
                                        u"Græsk αβγ og smil 😀 slut"_s,
                                        u"Højre"_s,
                                        u"Indrykket afsnit med ekstra luft."_s,
                                        u"Første punkt"_s,
                                        u"Andet punkt"_s,
                                        u"Et"_s,
                                        u"To"_s,
                                        u"Se eksemplet her."_s,
                                        u"A1\tB1"_s,
                                        u"A2\tB2"_s,
                                        u"Fodnote her og kommentar slut."_s,
                                        u"Billede:  efter."_s,
                                        u"Sidste afsnit."_s,
                                    };
}

void RtfReaderTest::readsWhatCommonWritersWrite()
{
    QFETCH(QString, file);
    QFETCH(QStringList, blocks);
    const auto document = load(fixture(file));
    QCOMPARE(blockTexts(*document), blocks);
}

void RtfReaderTest::formatsCharacters_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("fragment");
    QTest::addColumn<QString>("family");
    QTest::addColumn<double>("points");
    QTest::addColumn<QString>("colour"); // empty: the automatic colour
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("underline");
    QTest::addColumn<bool>("strike");

    const auto row = [](const char *name, const QString &file, const QString &fragment,
                        const QString &family, double points, const QString &colour = {},
                        bool bold = false, bool italic = false, bool underline = false,
                        bool strike = false) {
        QTest::newRow(name) << file << fragment << family << points << colour << bold << italic
                            << underline << strike;
    };
    const QString wordPad = u"wordpad.rtf"_s;
    row("WordPad plain", wordPad, u"Hej med dig"_s, u"Calibri"_s, 11);
    row("WordPad bold", wordPad, u"Fed"_s, u"Calibri"_s, 11, {}, true);
    row("WordPad italic", wordPad, u"kursiv"_s, u"Calibri"_s, 11, {}, false, true);
    row("WordPad underline", wordPad, u"understreget"_s, u"Calibri"_s, 11, {}, false, false, true);
    row("WordPad strike", wordPad, u"gennemstreget"_s, u"Calibri"_s, 11, {}, false, false, false,
        true);
    row("WordPad colour", wordPad, u"rød"_s, u"Calibri"_s, 11, u"#ff0000"_s);
    row("WordPad font and size", wordPad, u"blå Arial"_s, u"Arial"_s, 16, u"#004dbb"_s);
    row("WordPad colour ends at cf0", wordPad, u"og"_s, u"Calibri"_s, 11);
    row("WordPad Central European font", wordPad, u"Příliš"_s, u"Calibri"_s, 11);

    const QString word = u"word.rtf"_s;
    row("Word plain", word, u"Word-tekst"_s, u"Calibri"_s, 11);
    row("Word bold", word, u"fed"_s, u"Calibri"_s, 11, {}, true);
    row("Word italic", word, u"kursiv"_s, u"Calibri"_s, 11, {}, false, true);
    row("Word colour", word, u"lilla"_s, u"Calibri"_s, 11, u"#7030a0"_s);
    row("Word Greek font", word, u"αβγ"_s, u"Times New Roman Greek"_s, 11);
    row("Word font and size", word, u"Verdana 14"_s, u"Verdana"_s, 14);
    row("Word underline", word, u"Centreret og understreget"_s, u"Calibri"_s, 11, {}, false, false,
        true);
    row("Word link", word, u"DR Nyheder"_s, u"Calibri"_s, 11, u"#0563c1"_s, false, false, true);
    row("Word strike", word, u"streg"_s, u"Calibri"_s, 11, {}, false, false, false, true);

    const QString libre = u"libreoffice.rtf"_s;
    row("LibreOffice heading", libre, u"Blåbærgrød"_s, u"Liberation Serif"_s, 16, {}, true);
    row("LibreOffice plain", libre, u"Normal"_s, u"Liberation Serif"_s, 12);
    row("LibreOffice bold", libre, u"fed"_s, u"Liberation Serif"_s, 12, {}, true);
    row("LibreOffice italic", libre, u"kursiv"_s, u"Liberation Serif"_s, 12, {}, false, true);
    row("LibreOffice underline", libre, u"understreget"_s, u"Liberation Serif"_s, 12, {}, false,
        false, true);
    row("LibreOffice strike", libre, u"gennemstreget"_s, u"Liberation Serif"_s, 12, {}, false,
        false, false, true);
    row("LibreOffice colour", libre, u"rød"_s, u"Liberation Serif"_s, 12, u"#c9211e"_s);
    row("LibreOffice font and size", libre, u"kode"_s, u"DejaVu Sans Mono"_s, 9);
    row("LibreOffice link", libre, u"eksemplet"_s, u"Liberation Serif"_s, 12, u"#000080"_s, false,
        false, true);
}

void RtfReaderTest::formatsCharacters()
{
    QFETCH(QString, file);
    QFETCH(QString, fragment);
    const auto document = load(fixture(file));
    const QTextCharFormat format = formatOf(*document, fragment);
    QTEST(format.fontFamilies().toStringList().value(0), "family");
    QTEST(format.fontPointSize(), "points");
    QTEST(colourName(format), "colour");
    QTEST(format.fontWeight() == QFont::Bold, "bold");
    QTEST(format.fontItalic(), "italic");
    QTEST(format.fontUnderline(), "underline");
    QTEST(format.fontStrikeOut(), "strike");
}

void RtfReaderTest::formatsParagraphs_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("block");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("indent");
    QTest::addColumn<double>("right");
    QTest::addColumn<double>("top");
    QTest::addColumn<double>("bottom");

    // Indents in twips become document units of 1/96 inch: 15 twips each.
    QTest::newRow("WordPad left")
        << u"wordpad.rtf"_s << u"Fed, kursiv, understreget, gennemstreget, rød og blå Arial."_s
        << int(Qt::AlignLeft) << 0.0 << 0.0 << 0.0 << 0.0 << 200 / 15.0;
    QTest::newRow("WordPad centred") << u"wordpad.rtf"_s << u"Centreret"_s
                                     << int(Qt::AlignHCenter) << 0.0 << 0.0 << 0.0 << 0.0
                                     << 200 / 15.0;
    QTest::newRow("WordPad right") << u"wordpad.rtf"_s << u"Højre\u2028anden linje"_s
                                   << int(Qt::AlignRight) << 0.0 << 0.0 << 0.0 << 0.0
                                   << 200 / 15.0;
    QTest::newRow("WordPad justified and indented")
        << u"wordpad.rtf"_s << u"Indrykket og lige margener."_s << int(Qt::AlignJustify) << 96.0
        << 0.0 << 48.0 << 0.0 << 200 / 15.0;
    QTest::newRow("Word centred") << u"word.rtf"_s << u"Centreret og understreget"_s
                                  << int(Qt::AlignHCenter) << 0.0 << 0.0 << 0.0 << 0.0
                                  << 160 / 15.0;
    // The list's indent holds the bullet: the paragraph keeps only what lies beyond it.
    QTest::newRow("Word bullet") << u"word.rtf"_s << u"Punkt et"_s << int(Qt::AlignLeft) << 8.0
                                 << 0.0 << 0.0 << 0.0 << 160 / 15.0;
    QTest::newRow("LibreOffice every indent")
        << u"libreoffice.rtf"_s << u"Indrykket afsnit med ekstra luft."_s << int(Qt::AlignJustify)
        << 96.0 << 48.0 << 48.0 << 9.6 << 19.2;
    QTest::newRow("LibreOffice right") << u"libreoffice.rtf"_s << u"Højre"_s << int(Qt::AlignRight)
                                       << 0.0 << 0.0 << 0.0 << 0.0 << 0.0;
}

void RtfReaderTest::formatsParagraphs()
{
    QFETCH(QString, file);
    QFETCH(QString, block);
    const auto document = load(fixture(file));
    const QTextBlock found = blockWithText(*document, block);
    QVERIFY2(found.isValid(), qPrintable(block));
    const QTextBlockFormat format = found.blockFormat();
    QTEST(int(format.alignment() & Qt::AlignHorizontal_Mask), "alignment");
    QTEST(format.leftMargin(), "left");
    QTEST(format.textIndent(), "indent");
    QTEST(format.rightMargin(), "right");
    QTEST(format.topMargin(), "top");
    QTEST(format.bottomMargin(), "bottom");
}

void RtfReaderTest::makesLists_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("block");
    QTest::addColumn<int>("style"); // 0: not in a list
    QTest::addColumn<int>("indent");
    QTest::addColumn<QString>("sameListAs");

    const QByteArray wordPad = fixture(u"wordpad.rtf"_s);
    QTest::newRow("WordPad bullets") << wordPad << u"Første punkt"_s
                                     << int(QTextListFormat::ListDisc) << 1 << u"Andet punkt"_s;
    QTest::newRow("WordPad after the bullets") << wordPad << u"Centreret"_s << 0 << 0
                                               << QString();
    const QByteArray word = fixture(u"word.rtf"_s);
    QTest::newRow("Word bullets") << word << u"Punkt et"_s << int(QTextListFormat::ListDisc) << 1
                                  << u"Punkt to"_s;
    QTest::newRow("Word second level") << word << u"Underpunkt"_s
                                       << int(QTextListFormat::ListCircle) << 2 << QString();
    QTest::newRow("Word numbers") << word << u"Nummer et"_s << int(QTextListFormat::ListDecimal)
                                  << 1 << u"Nummer to"_s;
    QTest::newRow("Word after the lists") << word
                                          << u"Link til DR Nyheder og afsnittetkommenteret."_s << 0
                                          << 0 << QString();
    const QByteArray libre = fixture(u"libreoffice.rtf"_s);
    QTest::newRow("LibreOffice bullets") << libre << u"Første punkt"_s
                                         << int(QTextListFormat::ListDisc) << 1
                                         << u"Andet punkt"_s;
    QTest::newRow("LibreOffice numbers") << libre << u"Et"_s << int(QTextListFormat::ListDecimal)
                                         << 1 << u"To"_s;
    QTest::newRow("LibreOffice after the lists") << libre << u"Se eksemplet her."_s << 0 << 0
                                                 << QString();

    // The old paragraph numbering says its bullet in \pntxtb.
    QTest::newRow("hollow bullets") << rtf(R"({\*\pn\pnlvlblt\pnf0{\pntxtb o}}a\par b\par)")
                                    << u"a"_s << int(QTextListFormat::ListCircle) << 1 << u"b"_s;
    QTest::newRow("square bullets") << rtf(R"({\*\pn\pnlvlblt\pnf5{\pntxtb\'a7}}a\par b\par)")
                                    << u"a"_s << int(QTextListFormat::ListSquare) << 1 << u"b"_s;
    QTest::newRow("roman numbers") << rtf(R"({\*\pn\pnlvlbody\pnucrm}a\par b\par)") << u"b"_s
                                   << int(QTextListFormat::ListUpperRoman) << 1 << u"a"_s;
    QTest::newRow("outline level") << rtf(R"({\*\pn\pnlvl3\pnlcltr}a\par)") << u"a"_s
                                   << int(QTextListFormat::ListLowerAlpha) << 3 << QString();
    QTest::newRow("paragraph that goes on") << rtf(R"({\*\pn\pnlvlcont}a\par)") << u"a"_s << 0
                                            << 0 << QString();
    QTest::newRow("numbering ends with pard") << rtf(R"({\*\pn\pnlvlblt}a\par\pard b\par)")
                                              << u"b"_s << 0 << 0 << QString();
}

void RtfReaderTest::makesLists()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, block);
    QFETCH(int, style);
    QFETCH(QString, sameListAs);
    const auto document = load(rtf);
    const QTextBlock found = blockWithText(*document, block);
    QVERIFY2(found.isValid(), qPrintable(block));
    QTextList *list = found.textList();
    if (style == 0) {
        QVERIFY(!list);
        return;
    }
    QVERIFY(list);
    QCOMPARE(int(list->format().style()), style);
    QTEST(list->format().indent(), "indent");
    if (!sameListAs.isEmpty()) {
        const QTextBlock other = blockWithText(*document, sameListAs);
        QVERIFY(other.isValid());
        QCOMPARE(other.textList(), list);
    }
}

void RtfReaderTest::keepsLinkAddresses_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("fragment");
    QTest::addColumn<QString>("href"); // empty: no link

    QTest::newRow("Word address") << u"word.rtf"_s << u"DR Nyheder"_s
                                  << u"https://www.dr.dk/nyheder"_s;
    QTest::newRow("Word place in the document") << u"word.rtf"_s << u"afsnittet"_s
                                                << u"#_Afsnit"_s;
    QTest::newRow("Word text beside a link") << u"word.rtf"_s << u"Link til"_s << QString();
    QTest::newRow("Word text after a link") << u"word.rtf"_s << u"kommenteret"_s << QString();
    QTest::newRow("LibreOffice address") << u"libreoffice.rtf"_s << u"eksemplet"_s
                                         << u"https://example.org/side"_s;
    QTest::newRow("LibreOffice text after a link") << u"libreoffice.rtf"_s << u"her"_s
                                                   << QString();
}

void RtfReaderTest::keepsLinkAddresses()
{
    QFETCH(QString, file);
    QFETCH(QString, fragment);
    QFETCH(QString, href);
    const auto document = load(fixture(file));
    const QTextCharFormat format = formatOf(*document, fragment);
    QCOMPARE(format.isAnchor(), !href.isEmpty());
    QCOMPARE(format.anchorHref(), href);
}

void RtfReaderTest::decodesText_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");

    QTest::newRow("Windows-1252 escapes")
        << rtf(R"(bl\'e5b\'e6rgr\'f8d \'c6\'d8\'c5 \'80 \'93x\'94 \'E6)")
        << u"blåbærgrød ÆØÅ € “x” æ"_s;
    QTest::newRow("Windows-1252 bytes") << rtf("\xe6\xf8\xe5") << u"æøå"_s;
    QTest::newRow("document code page") << R"({\rtf1\ansi\ansicpg1250 P\'f8\'edli\'9a})"_ba
                                        << u"Příliš"_s;
    QTest::newRow("double-byte code page") << R"({\rtf1\ansi\ansicpg932 \'82\'a0\'8a\'bf})"_ba
                                           << u"あ漢"_s;
    QTest::newRow("Mac") << R"({\rtf1\mac \'8c\'bf})"_ba << u"åø"_s;
    QTest::newRow("unknown code page") << R"({\rtf1\ansi\ansicpg4242 \'e6})"_ba << u"æ"_s;
    QTest::newRow("Central European font") << rtf(R"({\f2 \'9elu\'9dou\'e8k\'fd} \'e6)")
                                           << u"žluťoučký æ"_s;
    QTest::newRow("Cyrillic font") << rtf(R"({\f3 \'cf\'f0\'e8\'e2\'e5\'f2})") << u"Привет"_s;
    QTest::newRow("Greek font") << rtf(R"({\f4 \'e1\'e2\'e3})") << u"αβγ"_s;
    QTest::newRow("Symbol font") << rtf(R"({\f1 \'b7 ab\'ae})") << u"• αβ→"_s;
    QTest::newRow("Unicode with fallback") << rtf(R"(\u945?\u946\'3f \u947 ?)") << u"αβ γ"_s;
    QTest::newRow("two-character fallback") << rtf(R"(\uc2\u8364\'80\'80x\u8364 EU)") << u"€x€"_s;
    QTest::newRow("no fallback") << rtf(R"(\uc0\u945 x)") << u"αx"_s;
    QTest::newRow("fallback is a control word") << rtf(R"(\u8212\emdash x)") << u"—x"_s;
    QTest::newRow("fallback ends with the group") << rtf(R"({\uc3\u945 ab}cd)") << u"αcd"_s;
    QTest::newRow("fallback count is the group's") << rtf(R"({\uc2 \u945 ab}\u946 ab)")
                                                   << u"αβb"_s;
    QTest::newRow("negative Unicode") << rtf(R"(\u-21504?)") << u"가"_s;
    QTest::newRow("surrogate pair") << rtf(R"(\u-10179?\u-8704?)") << u"😀"_s;
    QTest::newRow("surrogate pair, positive") << rtf(R"(\uc0 \u55357\uc1 \u56832\'3f)") << u"😀"_s;
    QTest::newRow("code point beyond 16 bits") << rtf(R"(\u128512?)") << u"😀"_s;
    QTest::newRow("lone surrogate") << rtf(R"(a\u-10179?b)") << u"a\uFFFDb"_s;
    QTest::newRow("binary data") << rtf("a{\\bin4 {}\\}}b") << u"ab"_s;
    QTest::newRow("control symbols") << rtf(R"(a\~b\-c\_d\{\}\\)")
                                     << u"a\u00A0b\u00ADc\u2011d{}\\"_s;
    QTest::newRow("named characters")
        << rtf(R"(\emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote)") << u"—–•‘’“”"_s;
    QTest::newRow("line and tab") << rtf(R"(a\line b\tab c)") << u"a\u2028b\tc"_s;
    QTest::newRow("tab character") << rtf("a\tb") << u"a\tb"_s;
    QTest::newRow("page break") << rtf(R"(a\page b)") << u"a\nb"_s;
    QTest::newRow("section break") << rtf(R"(a\sect b)") << u"a\nb"_s;
    QTest::newRow("last paragraph mark") << rtf(R"(a\par)") << u"a"_s;
    QTest::newRow("empty last paragraph") << rtf(R"(a\par\par)") << u"a\n"_s;
    QTest::newRow("empty first paragraph") << rtf(R"(\par a)") << u"\na"_s;
    QTest::newRow("line breaks in the file") << rtf("a\r\nb\nc\rd") << u"abcd"_s;
    QTest::newRow("escaped line break") << rtf("a\\\nb") << u"a\nb"_s;
    QTest::newRow("unknown destination") << rtf(R"(a{\*\unknown hidden {x}}b)") << u"ab"_s;
    QTest::newRow("unknown word") << rtf(R"(a{\unknownword shown}b)") << u"ashownb"_s;
    QTest::newRow("hidden text") << rtf(R"(a{\v hidden}b)") << u"ab"_s;
    QTest::newRow("passed-over groups")
        << rtf(R"(a{\header h}{\footer f}{\footnote n}{\*\annotation c}{\pict 0102})"
               R"({\info{\title t}})"
               R"({\stylesheet{\s1 Normal;}}{\*\generator g;}{\pntext 1.\tab}{\listtext 2.\tab}b)")
        << u"ab"_s;
    QTest::newRow("field result") << rtf(R"({\field{\*\fldinst PAGE}{\fldrslt 7}})") << u"7"_s;
    QTest::newRow("field inside an instruction")
        << rtf(R"({\field{\*\fldinst IF {\field{\*\fldinst PAGE}{\fldrslt 1}} = 1}{\fldrslt ja}})")
        << u"ja"_s;
    QTest::newRow("table cells")
        << rtf(R"(\trowd\cellx100\cellx200\cellx300 \intbl a\cell\cell c\cell\row)"
               R"(\intbl d\cell e\cell\cell\row after)")
        << u"a\t\tc\nd\te\nafter"_s;
    QTest::newRow("Unicode alternative") << rtf(R"({\upr{ansi}{\*\ud{uni}}})") << u"uni"_s;
    QTest::newRow("shape text")
        << rtf(R"(a{\shp{\*\shpinst{\sp{\sn x}{\sv 1}}{\shptxt box}}{\shprslt old}}b)")
        << u"aboxb"_s;
    QTest::newRow("text beside the root group")
        << "{\\rtf1 a}\r\n \0\0"_ba << u"a"_s;
}

void RtfReaderTest::decodesText()
{
    QFETCH(QByteArray, rtf);
    const auto document = load(rtf);
    QTEST(shownText(*document), "text");
}

void RtfReaderTest::showsSymbolFontsAsText_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("family"); // empty: the document's font

    // The Symbol font's codes become the characters it shows, which need no Symbol font then.
    QTest::newRow("Symbol") << rtf(R"({\f1 \'61\'b7\'d2})") << u"α•®"_s << QString();
    QTest::newRow("Symbol in Unicode") << rtf(R"({\f1 \u-3999?})") << u"α"_s << QString();
    QTest::newRow("Symbol without its charset")
        << R"({\rtf1\ansi{\fonttbl{\f0 Arial;}{\f1\fcharset0 Symbol;}}\f1 S})"_ba << u"Σ"_s
        << QString();
    QTest::newRow("Symbol where it has no character") << rtf(R"({\f1 \'95})") << u"•"_s
                                                      << QString();
    // Other symbol fonts draw at Windows' private-use places, which show in no other font.
    QTest::newRow("Wingdings") << rtf(R"({\f5 \'a7})") << u"\uF0A7"_s << u"Wingdings"_s;
    QTest::newRow("font defined again later")
        << R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}\f0 S{\fonttbl{\f0 Symbol;}}})"_ba << u"S"_s
        << u"Arial"_s;
}

void RtfReaderTest::showsSymbolFontsAsText()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    const auto document = load(rtf);
    QCOMPARE(shownText(*document), text);
    const QTextCharFormat format = formatOf(*document, text);
    QTEST(format.fontFamilies().toStringList().value(0), "family");
}

void RtfReaderTest::scopesFormattingToGroups_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("fragment");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("underline");
    QTest::addColumn<bool>("strike");
    QTest::addColumn<QString>("colour");
    QTest::addColumn<double>("points");

    const QByteArray nested = rtf(R"(\fs20\cf1\b one{\i two{\plain three}four}five\b0 six)");
    QTest::newRow("before the group") << nested << u"one"_s << true << false << false << false
                                      << u"#ff0000"_s << 10.0;
    QTest::newRow("inside the group") << nested << u"two"_s << true << true << false << false
                                      << u"#ff0000"_s << 10.0;
    QTest::newRow("plain in a nested group") << nested << u"three"_s << false << false << false
                                             << false << QString() << 12.0;
    QTest::newRow("after the nested group") << nested << u"four"_s << true << true << false
                                            << false << u"#ff0000"_s << 10.0;
    QTest::newRow("after the group") << nested << u"five"_s << true << false << false << false
                                     << u"#ff0000"_s << 10.0;
    QTest::newRow("b0") << nested << u"six"_s << false << false << false << false << u"#ff0000"_s
                        << 10.0;

    const QByteArray toggles = rtf(R"(\ul uone\ul0 utwo\ul uthree\ulnone ufour\uldb ufive )"
                                   R"(\strike sone\strike0 stwo\cf2 green\cf0 auto)");
    QTest::newRow("ul") << toggles << u"uone"_s << false << false << true << false << QString()
                        << 12.0;
    QTest::newRow("ul0") << toggles << u"utwo"_s << false << false << false << false << QString()
                         << 12.0;
    QTest::newRow("ulnone") << toggles << u"ufour"_s << false << false << false << false
                            << QString() << 12.0;
    QTest::newRow("double underline") << toggles << u"ufive"_s << false << false << true << false
                                      << QString() << 12.0;
    QTest::newRow("strike") << toggles << u"sone"_s << false << false << true << true << QString()
                            << 12.0;
    QTest::newRow("strike0") << toggles << u"stwo"_s << false << false << true << false
                             << QString() << 12.0;
    QTest::newRow("cf") << toggles << u"green"_s << false << false << true << false << u"#008000"_s
                        << 12.0;
    QTest::newRow("cf0 with an automatic first colour")
        << toggles << u"auto"_s << false << false << true << false << QString() << 12.0;
    QTest::newRow("cf0 with a real first colour")
        << R"({\rtf1{\colortbl\red0\green0\blue255;}\cf0 blue})"_ba << u"blue"_s << false << false
        << false << false << u"#0000ff"_s << 12.0;
    QTest::newRow("colour beyond the table") << rtf(R"(\cf99 none)") << u"none"_s << false
                                             << false << false << false << QString() << 12.0;
    QTest::newRow("absurd font size") << rtf(R"(\fs999999999999 big)") << u"big"_s << false
                                      << false << false << false << QString() << 1638.0;
}

void RtfReaderTest::scopesFormattingToGroups()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, fragment);
    const auto document = load(rtf);
    const QTextCharFormat format = formatOf(*document, fragment);
    QTEST(format.fontWeight() == QFont::Bold, "bold");
    QTEST(format.fontItalic(), "italic");
    QTEST(format.fontUnderline(), "underline");
    QTEST(format.fontStrikeOut(), "strike");
    QTEST(colourName(format), "colour");
    QTEST(format.fontPointSize(), "points");
}

void RtfReaderTest::survivesHostileInput_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");

    const QByteArray deep(100000, '{');
    const QByteArray deepEnd(100000, '}');
    QTest::newRow("extra closing braces") << R"({\rtf1 a}}}} b})"_ba << u"a b"_s;
    QTest::newRow("missing closing braces") << R"({\rtf1 {\b a {\i b )"_ba << u"a b "_s;
    QTest::newRow("truncated control word") << R"({\rtf1 abc\)"_ba << u"abc"_s;
    QTest::newRow("truncated escape") << R"({\rtf1 abc\'4)"_ba << u"abc"_s;
    QTest::newRow("escape without digits") << R"({\rtf1 a\'zzb})"_ba << u"azzb"_s;
    QTest::newRow("truncated Unicode") << R"({\rtf1 a\u945)"_ba << u"aα"_s;
    QTest::newRow("huge parameter") << R"({\rtf1 \li99999999999999999999\fs-99999999999 a\par})"_ba
                                    << u"a"_s;
    QTest::newRow("endless digits") << "{\\rtf1 \\fs" + QByteArray(100000, '9') + " a}" << u"a"_s;
    QTest::newRow("endless control word") << "{\\rtf1 \\" + QByteArray(100000, 'x') + " a}"
                                          << u"a"_s;
    QTest::newRow("huge fallback count") << R"({\rtf1 {\uc999999999999 \u945 abc} def})"_ba
                                         << u"α def"_s;
    QTest::newRow("negative fallback count") << R"({\rtf1 \uc-5\u945 abc})"_ba << u"αabc"_s;
    QTest::newRow("Unicode out of range") << R"({\rtf1 \u-99999?\u99999999?})"_ba
                                          << u"\uFFFD\uFFFD"_s;
    QTest::newRow("control characters") << R"({\rtf1 a\u0?\u13?b)"_ba + QByteArray("\0\x01", 2)
                                               + R"(\u8233?c\u64976?})"_ba
                                        << u"a\u2028b\u2028c\uFFFD"_s;
    QTest::newRow("binary beyond the end") << R"({\rtf1 a\bin99999999 xyz})"_ba << u"a"_s;
    QTest::newRow("negative binary") << R"({\rtf1 a\bin-5 xyz})"_ba << u"axyz"_s;
    QTest::newRow("deep nesting") << "{\\rtf1 " + deep + "deep" + deepEnd + " tail}"
                                  << u"deep tail"_s;
    QTest::newRow("deep nesting never closed") << "{\\rtf1 " + deep + "deep" << u"deep"_s;
    QTest::newRow("skipped group too deep")
        << "{\\rtf1 " + QByteArray(2000, '{') + "a{\\*\\x hidden}{\\pict 01}b"
               + QByteArray(2000, '}') + "c}"
        << u"abc"_s;
    QTest::newRow("unfinished font table") << R"({\rtf1{\fonttbl{\f0 Arial)"_ba << QString();
    QTest::newRow("unfinished colour table") << R"({\rtf1{\colortbl\red300;\cf1 x)"_ba
                                             << QString();
    QTest::newRow("unknown list") << R"({\rtf1 \ls99999\ilvl99999 a\par b})"_ba << u"a\nb"_s;
    QTest::newRow("list tables without lists")
        << R"({\rtf1{\*\listtable\listlevel\levelnfc0\listid5})"
           R"({\*\listoverridetable\ls1\listid7}\ls1 a})"_ba
        << u"a"_s;
    QTest::newRow("field without instruction") << R"({\rtf1{\field{\fldrslt a}}{\fldrslt b}})"_ba
                                               << u"ab"_s;
    QTest::newRow("link without address")
        << R"({\rtf1{\field{\*\fldinst HYPERLINK}{\fldrslt c}}{\field{\*\fldinst HYPERLINK "})"
           R"(}{\fldrslt d}}})"_ba
        << u"cd"_s;
    QTest::newRow("numbering group out of place") << R"({\rtf1{\*\pn{\*\pn\pnlvlblt}}a})"_ba
                                                  << u"a"_s;
    QTest::newRow("ignorable mark at the end") << R"({\rtf1 a\*)"_ba << u"a"_s;
    QTest::newRow("ignorable mark before text") << R"({\rtf1 {\*a}})"_ba << u"a"_s;
    QTest::newRow("EBCDIC code page") << R"({\rtf1\ansi\ansicpg500 abc})"_ba << u"abc"_s;
    QTest::newRow("not RTF at all") << "K\xe6re Kim\r\nHilsen"_ba << u"Kære KimHilsen"_s;
}

void RtfReaderTest::survivesHostileInput()
{
    QFETCH(QByteArray, rtf);
    const auto document = load(rtf);
    QTEST(shownText(*document), "text");
}

void RtfReaderTest::replacesTheContent()
{
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText(u"gammel tekst"_s);
    QVERIFY(document.isUndoAvailable());

    Platform::readRtf(rtf(R"(ny {\b tekst}\par)"), &document);

    QCOMPARE(shownText(document), u"ny tekst"_s);
    // Loading is no step the user can undo, and the document keeps taking undo steps after it.
    QVERIFY(!document.isUndoAvailable());
    QVERIFY(document.isUndoRedoEnabled());
    QTextCursor(&document).insertText(u"x"_s);
    QVERIFY(document.isUndoAvailable());
}

QTEST_GUILESS_MAIN(RtfReaderTest)
#include "tst_rtfreader.moc"
