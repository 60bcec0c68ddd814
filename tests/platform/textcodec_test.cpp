#include "platform/textcodec.h"
#include "support/qtprinters.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <gtest/gtest.h>

TEST(TextCodec, CentralEuropeanLettersUseTheirCodePageBytes)
{
    const QString text = QString::fromUtf8("čćšžđČŠŽ€ ");
    const QByteArray bytes("\xE8\xE6\x9A\x9E\xF0\xC8\x8A\x8E\x80\x20", 10);
    EXPECT_EQ(platform::toAnsi(text), bytes);
    EXPECT_EQ(platform::fromAnsi(bytes), text);
}

TEST(TextCodec, UnmappableCharacterBecomesQuestionMark)
{
    EXPECT_EQ(platform::toAnsi(QString::fromUtf8("aø漢b")), QByteArray("a??b"));
    EXPECT_EQ(platform::toAnsi(QString::fromUtf8("x😀y")), QByteArray("x?y")); // one mark per character
    EXPECT_EQ(platform::toAnsi(QString::fromUtf8("ß")), QByteArray("\xDF"));
    EXPECT_EQ(platform::toAnsi(QStringLiteral("a\x1A")), QByteArray("a\x1A"));
}

// Where a file would get "?" the program must know it first, to refuse the character and
// name it: the check agrees with the conversion on every 16-bit unit, finds a character
// however far into a long text it stands, and names a character beyond 16 bits whole.
TEST(TextCodec, CharactersTheCodePageLacksAreFoundAndNamed)
{
    const struct {
        const char* text;
        qsizetype at;
        const char* named;
    } cases[] = {
        {"Tømrer1", 1, "\"ø\" (U+00F8)"},
        {"Señor", 2, "\"ñ\" (U+00F1)"},
        {"Tomás Ærø", 6, "\"Æ\" (U+00C6)"},
        {"東京", 0, "\"東\" (U+6771)"},
        {"pw😀", 2, "\"😀\" (U+1F600)"},
        {"€ 5, Žaga, čšž, ß, ?", -1, ""},
        {"", -1, ""},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(platform::firstUnheld(text), c.at) << c.text;
        if (c.at >= 0) {
            EXPECT_EQ(platform::characterName(text, c.at), QString::fromUtf8(c.named)) << c.text;
        }
    }
    // Past the blocks of plain ASCII that the check skips whole, and a lone surrogate.
    for (const qsizetype at : {qsizetype(0), qsizetype(31), qsizetype(32), qsizetype(33), qsizetype(1000)}) {
        const QString text = QString(at, QLatin1Char('a')) + QChar(0xF8) + QString(40, QLatin1Char('b'));
        EXPECT_EQ(platform::firstUnheld(text), at);
    }
    EXPECT_EQ(platform::firstUnheld(QString(100, QLatin1Char('a')) + QChar(0xD800)), 100);

    for (int u = 0; u < 0x10000; ++u) {
        const QString one{QChar(char16_t(u))};
        const bool lost = platform::toAnsi(one) == "?" && u != '?';
        ASSERT_EQ(platform::firstUnheld(one) == 0, lost) << "U+" << std::hex << u;
    }
}

TEST(TextCodec, EveryByteDecodesToOneCharacterAndBack)
{
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(char(i));
    EXPECT_EQ(platform::fromAnsi(all).size(), 256);
    EXPECT_EQ(platform::toAnsi(platform::fromAnsi(all)), all); // unassigned bytes survive a round trip
    // The bytes the code page leaves unassigned are the control characters of their numbers.
    EXPECT_EQ(platform::fromAnsi(QByteArray("\x81\x83\x88\x90\x98")), QStringLiteral("\u0081\u0083\u0088\u0090\u0098"));
    EXPECT_EQ(platform::fromAnsi(QByteArray("\r\n")), QStringLiteral("\r\n"));
}

TEST(TextCodec, TablesHoldTheConvertersOwnMapping)
{
    // The tables are the program's own, and files written by earlier versions were converted
    // by Qt's converter: every byte and every character on its own must convert as that
    // converter converts it, with "?" where it gives no byte or its substitute byte.
    if (!QStringDecoder("windows-1250").isValid() || !QStringEncoder("windows-1250").isValid())
        GTEST_SKIP() << "this Qt has no windows-1250 converter to compare with";
    const platform::AnsiTables* tables = platform::AnsiTables::get();
    ASSERT_NE(tables, nullptr);
    for (int b = 0; b < 256; ++b) {
        QStringDecoder decoder("windows-1250", QStringConverter::Flag::Stateless);
        const QString one = decoder.decode(QByteArray(1, char(b)));
        ASSERT_EQ(one.size(), 1) << b;
        EXPECT_EQ(tables->character(uchar(b)), one[0].unicode()) << b;
    }
    for (int u = 0; u < 0x10000; ++u) {
        const QChar ch{char16_t(u)};
        char expected = '?'; // a surrogate is half a character
        if (!ch.isSurrogate()) {
            QStringEncoder encoder("windows-1250", QStringConverter::Flag::Stateless);
            const QByteArray one = encoder.encode(QStringView(&ch, 1));
            expected = one.size() == 1 && (one[0] != '\x1A' || u == 0x1A) ? one[0] : '?';
        }
        ASSERT_EQ(tables->byte(char16_t(u)), expected) << u;
    }
    // A text of every character in turn converts as its characters one by one, through the
    // conversion's blocks as well as through the single character above.
    QString everyUnit;
    QByteArray everyByte;
    for (int u = 0; u < 0x10000; ++u)
        if (!QChar(char16_t(u)).isSurrogate()) {
            everyUnit.append(QChar(char16_t(u)));
            everyByte.append(tables->byte(char16_t(u)));
        }
    EXPECT_EQ(platform::toAnsi(everyUnit), everyByte);
}

TEST(TextCodec, LongTextsConvertAsTheirCharactersOneByOne)
{
    // ASCII runs, letters of the code page, characters beyond it and lone surrogates, at
    // every position around the conversion's blocks of 32.
    const QString pieces[] = {QStringLiteral("plain ascii text "), QString::fromUtf8("čćšžđ"),
                              QString::fromUtf8("漢"), QString::fromUtf8("😀"), QString(QChar(0xD83D)),
                              QString(QChar(0xDE00)), QStringLiteral("\r\n")};
    const QByteArray bytes[] = {"plain ascii text ", "\xE8\xE6\x9A\x9E\xF0", "?", "?", "?", "?", "\r\n"};
    for (int shift = 0; shift < 40; ++shift) {
        QString text(shift, QLatin1Char('x'));
        QByteArray expected(shift, 'x');
        for (int round = 0; round < 20; ++round) {
            const int k = (round * 5 + shift) % 7;
            text += pieces[k];
            expected += bytes[k];
        }
        const QByteArray encoded = platform::toAnsi(text);
        EXPECT_EQ(encoded, expected) << shift;
        const QString decoded = platform::fromAnsi(encoded);
        EXPECT_EQ(decoded.size(), encoded.size()) << shift;
        EXPECT_EQ(platform::toAnsi(decoded), encoded) << shift;
    }
    EXPECT_EQ(platform::fromAnsi(QByteArray("abc\xE8", 4).repeated(100)), QString::fromUtf8("abcč").repeated(100));
}
