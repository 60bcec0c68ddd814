#pragma once
// The program's "ANSI" text is Windows-1250. Cell and field texts are QString in memory and
// are converted only where they meet a file or the spreadsheet program.
//
// The conversion runs on two tables that are asked of the system's converter once each: the
// character of every byte at the first use, the byte of every UTF-16 unit at the first
// encoding (asking the converter for all 63,488 units takes tens of milliseconds, which the
// start-up, which only reads, need not wait for). So the mapping stays
// the converter's own, a text of any length converts (the converter itself gives an empty
// text for 512 MiB and more), and a long text converts at the speed of a table look-up.

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <bitset>
#include <memory>
#include <mutex>

namespace platform {

class AnsiTables {
public:
    // The tables, or null when the system has no Windows-1250 converter.
    static const AnsiTables* get();

    char16_t character(unsigned char byte) const { return m_characters[byte]; }
    // "?" for a unit the code page cannot hold, a surrogate included.
    char byte(char16_t unit) const { return bytes()[unit]; }

    // `count` bytes to `count` characters.
    void decode(const char* bytes, qsizetype count, char16_t* out) const;
    // `count` characters to at most `count` bytes: one byte for each character, a surrogate
    // pair (a character beyond the code page) one "?". A high surrogate at the very end is
    // written as "?" too: a caller that converts a long text piece by piece keeps it for the
    // next piece. Gives the number of bytes written.
    qsizetype encode(const char16_t* text, qsizetype count, char* out) const;
    // The position of the first character the code page cannot hold (for a character beyond
    // 16 bits, of the first of its two units), or -1 when it holds them all. "?" itself is
    // held.
    qsizetype firstUnheld(const char16_t* text, qsizetype count) const;

private:
    AnsiTables() = default;
    static const AnsiTables* build();
    // The byte of every unit, asked of the converter at the first call.
    const char* bytes() const;

    char16_t m_characters[256] = {};
    mutable std::once_flag m_bytesBuilt;
    mutable std::unique_ptr<char[]> m_bytes;
    bool m_asciiSame = false; // bytes 0..127 are the characters 0..127, the common case
    // The characters some byte decodes to: each is held (a byte encodes it), so a text made of
    // them, as every text read from a file is, is checked without the table of every unit.
    std::bitset<0x10000> m_decoded;
};

// Encodes to Windows-1250; a character the code page cannot hold becomes "?". Both give an
// empty result where AnsiTables::get() is null.
QByteArray toAnsi(const QString& text);
// Decodes Windows-1250 bytes.
QString fromAnsi(const QByteArray& bytes);

// The position in `text` of the first character that Windows-1250 cannot hold, which a file
// would get as "?"; -1 when there is none, and when the system has no converter at all.
qsizetype firstUnheld(QStringView text);
// Names the character at `position` for a message: itself, whole, in quotes, and its code,
// as in "ø" (U+00F8).
QString characterName(QStringView text, qsizetype position);

} // namespace platform
