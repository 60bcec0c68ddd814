#include "grid/documents/listfilescrambler.h"

#include <algorithm>

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

// Where the last chunk of a text of `total` bytes begins.
qsizetype lastChunkStart(qsizetype total)
{
    constexpr qsizetype size = ListFileScrambler::ChunkSize;
    if (total <= size + 1)
        return 0;
    return (total - size - 1 + size - 1) / size * size;
}

} // namespace

std::span<const char> ListFileScrambler::keyFrom(qsizetype offset, qsizetype total, qsizetype wanted)
{
    const qsizetype last = lastChunkStart(total);
    const qsizetype start = offset < last ? offset / ChunkSize * ChunkSize : last;
    const qsizetype end = start == last ? total : start + ChunkSize;
    const qsizetype count = std::max<qsizetype>(0, std::min(wanted, end - offset));
    return {keyStream().constData() + (offset - start), size_t(count)};
}

namespace {

constexpr qsizetype Block = 64;

// One block; no pointer aliases another, and the count is fixed, so the compiler turns the
// loop into vector instructions.
void applyKeyToBlock(const char* __restrict from, const char* __restrict key, char* __restrict to)
{
    for (qsizetype i = 0; i < Block; ++i)
        to[i] = char(from[i] ^ key[i]);
}

void applyKeyToBlock(char* __restrict data, const char* __restrict key)
{
    for (qsizetype i = 0; i < Block; ++i)
        data[i] = char(data[i] ^ key[i]);
}

} // namespace

void ListFileScrambler::applyKey(char* data, const char* key, qsizetype count)
{
    qsizetype i = 0;
    for (; count - i >= Block; i += Block)
        applyKeyToBlock(data + i, key + i);
    for (; i < count; ++i)
        data[i] = char(data[i] ^ key[i]);
}

void ListFileScrambler::applyKey(const char* from, const char* key, qsizetype count, char* to)
{
    qsizetype i = 0;
    for (; count - i >= Block; i += Block)
        applyKeyToBlock(from + i, key + i, to + i);
    for (; i < count; ++i)
        to[i] = char(from[i] ^ key[i]);
}

void ListFileScrambler::apply(QByteArray& bytes)
{
    const qsizetype total = bytes.size();
    if (total == 0)
        return;
    char* data = bytes.data();
    for (qsizetype offset = 0; offset < total;) {
        const auto key = keyFrom(offset, total, total - offset);
        applyKey(data + offset, key.data(), qsizetype(key.size()));
        offset += qsizetype(key.size());
    }
}

void ListFileScrambler::finishUnbounded(char* data, qsizetype total)
{
    if (total - lastChunkStart(total) != ChunkSize + 1)
        return;
    const char* key = keyStream().constData();
    data[total - 1] = char(data[total - 1] ^ key[0] ^ key[ChunkSize]);
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
