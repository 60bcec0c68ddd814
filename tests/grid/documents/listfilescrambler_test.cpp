#include "grid/documents/listfilescrambler.h"

#include <gtest/gtest.h>

using grid::ListFileScrambler;

namespace {

// The byte that key character n (counted from 1) of "kq#47@trBNm" is.
char keyChar(int n)
{
    return "kq#47@trBNm"[n - 1];
}

} // namespace

TEST(ListFileScrambler, FirstBytesOfAChunkUseKeyCharactersFromTheSecondOn)
{
    // Zeros show the key itself: byte k of a chunk takes key character (k mod 11) + 1.
    const QByteArray out = ListFileScrambler::applied(QByteArray(23, '\0'));
    for (int k = 1; k <= 23; ++k)
        EXPECT_EQ(out[k - 1], keyChar(k % 11 + 1)) << "byte " << k;
}

TEST(ListFileScrambler, RecognisesTheScrambledPasswordHeader)
{
    // '#' ^ 'q', '@' ^ '#', '#' ^ '4'
    EXPECT_TRUE(ListFileScrambler::looksScrambled(QByteArray("\x52\x63\x17rest", 7)));
    EXPECT_TRUE(ListFileScrambler::looksScrambled(ListFileScrambler::applied("#@#\r\np&z7\r\n")));
    EXPECT_FALSE(ListFileScrambler::looksScrambled("#@#\r\np&z7\r\n"));
    EXPECT_FALSE(ListFileScrambler::looksScrambled("\\\\1|#||a|100\r\n"));
    EXPECT_FALSE(ListFileScrambler::looksScrambled(QByteArray("\x52\x63", 2)));
    EXPECT_FALSE(ListFileScrambler::looksScrambled(QByteArray()));
}

TEST(ListFileScrambler, IsItsOwnInverse)
{
    QByteArray text;
    for (int i = 0; i < 5000; ++i)
        text.append(char(i * 7 + 3));
    const QByteArray scrambled = ListFileScrambler::applied(text);
    EXPECT_NE(scrambled, text);
    EXPECT_EQ(ListFileScrambler::applied(text), scrambled); // the same every time
    EXPECT_EQ(ListFileScrambler::applied(scrambled), text);
}

TEST(ListFileScrambler, KeyRestartsInEveryChunkOnlyPastOneChunkAndOneByte)
{
    // 1,048,577 bytes are one chunk: the last byte is byte 1,048,577 of that chunk, and
    // 1,048,577 mod 11 = 2, so it takes key character 3.
    const QByteArray one = ListFileScrambler::applied(QByteArray(0x100001, '\0'));
    EXPECT_EQ(one[0x100000], keyChar(3));
    EXPECT_EQ(one[0x100000 - 1], keyChar(0x100000 % 11 + 1));

    // 1,048,578 bytes are chunks of 1,048,576 and 2: byte 1,048,577 is byte 1 of the
    // second chunk (key character 2), byte 1,048,578 its byte 2 (key character 3).
    const QByteArray two = ListFileScrambler::applied(QByteArray(0x100002, '\0'));
    EXPECT_EQ(two[0x100000 - 1], keyChar(0x100000 % 11 + 1));
    EXPECT_EQ(two[0x100000], keyChar(2));
    EXPECT_EQ(two[0x100001], keyChar(3));

    // Three chunks: 2 * 1,048,576 + 1,048,577 bytes end in one long last chunk.
    const qsizetype threeSize = 2 * 0x100000 + 0x100001;
    const QByteArray three = ListFileScrambler::applied(QByteArray(threeSize, '\0'));
    EXPECT_EQ(three[0x100000], keyChar(2));
    EXPECT_EQ(three[2 * 0x100000], keyChar(2));
    EXPECT_EQ(three[threeSize - 1], keyChar(3));
}

TEST(ListFileScrambler, EmptyInputStaysEmpty)
{
    EXPECT_TRUE(ListFileScrambler::applied(QByteArray()).isEmpty());
}
