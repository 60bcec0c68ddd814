#include "grid/documents/listfilescrambler.h"

namespace grid {

namespace {

// The key bytes for the longest chunk, laid out once: byte k of a chunk (from 1) takes key
// character (k mod 11) + 1, that is the zero-based key index (i + 1) mod 11 for the
// zero-based byte index i. XOR-ing a chunk is then one straight loop.
const QByteArray& keyStream()
{
    static const QByteArray stream = [] {
        QByteArray bytes(ListFileScrambler::ChunkSize + 1, Qt::Uninitialized);
        for (qsizetype i = 0; i < bytes.size(); ++i)
            bytes[i] = ListFileScrambler::Key[(i + 1) % ListFileScrambler::KeyLength];
        return bytes;
    }();
    return stream;
}

} // namespace

void ListFileScrambler::applyToChunk(char* data, qsizetype length)
{
    const char* key = keyStream().constData();
    for (qsizetype i = 0; i < length; ++i)
        data[i] = char(data[i] ^ key[i]);
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
