#pragma once
// The program's "ANSI" text is Windows-1250. Cell and field texts are QString in memory and
// are converted only where they meet a file or the spreadsheet program.
//
// The conversion runs on two tables that are the program's own constant data: the character
// of every byte, and the byte of every UTF-16 unit up to the highest character the code page
// has (every unit above it has none). No system converter is asked at run time, so the
// conversion costs the start-up neither time nor the memory of a converter's library, a text
// of any length converts, and a long text converts at the speed of a table look-up. The
// mapping is byte for byte the one Qt's own converter for windows-1250 gives, the five
// unassigned bytes and "?" for what it cannot hold included; the tests compare the two.

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace platform {

class AnsiTables {
public:
    // The tables. Being the program's own, they are always there: this is never null.
    static const AnsiTables* get();

    char16_t character(unsigned char byte) const;
    // "?" for a unit the code page cannot hold, a surrogate included.
    char byte(char16_t unit) const;

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
    constexpr AnsiTables() = default;
};

// Encodes to Windows-1250; a character the code page cannot hold becomes "?".
QByteArray toAnsi(const QString& text);
// Decodes Windows-1250 bytes.
QString fromAnsi(const QByteArray& bytes);

// The position in `text` of the first character that Windows-1250 cannot hold, which a file
// would get as "?"; -1 when there is none.
qsizetype firstUnheld(QStringView text);
// Names the character at `position` for a message: itself, whole, in quotes, and its code,
// as in "ø" (U+00F8).
QString characterName(QStringView text, qsizetype position);
// The refusal of a save that would turn a character into "?": "<what> was not saved: <where>
// holds the character "ø" (U+00F8), which the file cannot store ...", naming the character at
// `position` of `text`.
QString unstorableRefusal(const QString& what, const QString& where, QStringView text, qsizetype position);

} // namespace platform
