#pragma once
// The scrambling of a list file: every byte XOR-ed with the list key, chunk by chunk. The
// same pass scrambles and unscrambles, in memory.

#include <QByteArray>
#include <limits>
#include <span>

namespace grid {

class ListFileScrambler {
public:
    // The key text; its characters are used by their byte values.
    static constexpr char Key[] = "kq#47@trBNm";
    static constexpr int KeyLength = 11;
    // A chunk is this long while more than ChunkSize + 1 bytes remain; the rest is the last.
    static constexpr qsizetype ChunkSize = 0x100000;
    // The total of a text whose end is not known yet (see finishUnbounded).
    static constexpr qsizetype Unbounded = std::numeric_limits<qsizetype>::max();

    // Scrambles (or unscrambles) the bytes in place. Within each chunk, byte k (counted from
    // 1) is XOR-ed with key character (k mod 11) + 1; the count restarts in every chunk.
    static void apply(QByteArray& bytes);
    static QByteArray applied(QByteArray bytes);

    // The key bytes for the bytes from `offset` on of a text of `total` bytes, as far as they
    // lie in one chunk and at most `wanted` of them: byte offset + i takes key byte i.
    static std::span<const char> keyFrom(qsizetype offset, qsizetype total, qsizetype wanted);
    // Each of `count` bytes XOR-ed with its key byte, in place or into `to` (which must not
    // overlap `from`).
    static void applyKey(char* data, const char* key, qsizetype count);
    static void applyKey(const char* from, const char* key, qsizetype count, char* to);
    // A text scrambled piece by piece while it grew, with the total Unbounded, has every chunk
    // right but, where its last chunk is 1,048,577 bytes long, that chunk's last byte, which
    // was taken for the first of a next chunk; this puts that byte right.
    static void finishUnbounded(char* data, qsizetype total);

    // True when the bytes begin as a scrambled list file does: "#@#" scrambled as the first
    // three bytes of a chunk.
    static bool looksScrambled(const QByteArray& bytes);
};

} // namespace grid
