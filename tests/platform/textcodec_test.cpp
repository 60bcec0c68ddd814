#include "platform/textcodec.h"

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

TEST(TextCodec, EveryByteDecodesToOneCharacterAndBack)
{
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(char(i));
    EXPECT_EQ(platform::fromAnsi(all).size(), 256);
    EXPECT_EQ(platform::toAnsi(platform::fromAnsi(all)), all); // unassigned bytes survive a round trip
    EXPECT_EQ(platform::fromAnsi(QByteArray("\r\n")), QStringLiteral("\r\n"));
}
