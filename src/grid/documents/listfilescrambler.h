#pragma once
// The scrambling of a list file: every byte XOR-ed with the list key, chunk by chunk. The
// same pass scrambles and unscrambles, in memory.

#include <QByteArray>

namespace grid {

class ListFileScrambler {
public:
    // The key text; its characters are used by their byte values.
    static constexpr char Key[] = "kq#47@trBNm";
    static constexpr int KeyLength = 11;
    // A chunk is this long while more than ChunkSize + 1 bytes remain; the rest is the last.
    static constexpr qsizetype ChunkSize = 0x100000;

    // Scrambles (or unscrambles) the bytes in place. Within each chunk, byte k (counted from
    // 1) is XOR-ed with key character (k mod 11) + 1; the count restarts in every chunk.
    static void apply(QByteArray& bytes);
    static QByteArray applied(QByteArray bytes);

    // True when the bytes begin as a scrambled list file does: "#@#" scrambled as the first
    // three bytes of a chunk.
    static bool looksScrambled(const QByteArray& bytes);

private:
    static void applyToChunk(char* data, qsizetype length);
};

} // namespace grid
