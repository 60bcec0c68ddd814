#include "grid/documents/listfilescrambler.h"

namespace grid {

void ListFileScrambler::applyToChunk(char* data, qsizetype length)
{
    // Byte k of the chunk (from 1) takes key character (k mod 11) + 1, that is the key
    // character at zero-based index k mod 11 = (i + 1) mod 11 for the zero-based index i.
    int keyIndex = 1;
    for (qsizetype i = 0; i < length; ++i) {
        data[i] = char(data[i] ^ Key[keyIndex]);
        if (++keyIndex == KeyLength)
            keyIndex = 0;
    }
}

void ListFileScrambler::apply(QByteArray& bytes)
{
    char* data = bytes.data();
    const qsizetype total = bytes.size();
    qsizetype offset = 0;
    for (;;) {
        const qsizetype left = total - offset;
        if (left > ChunkSize + 1) {
            applyToChunk(data + offset, ChunkSize);
            offset += ChunkSize;
        } else {
            applyToChunk(data + offset, left);
            return;
        }
    }
}

QByteArray ListFileScrambler::applied(QByteArray bytes)
{
    apply(bytes);
    return bytes;
}

bool ListFileScrambler::looksScrambled(const QByteArray& bytes)
{
    static const QByteArray signature = applied(QByteArrayLiteral("#@#"));
    return bytes.startsWith(signature);
}

} // namespace grid
