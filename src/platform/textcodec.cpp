#include "platform/textcodec.h"

#include <algorithm>

namespace platform {

namespace {
// Texts are converted a block at a time: a block of plain ASCII, the common case, takes one
// loop that the compiler turns into vector instructions, and a block of ASCII and letters of
// the code page is looked up without a check on each character.
constexpr qsizetype Block = 32;

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit < 0xDC00; }
bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit < 0xE000; }

// The characters of the bytes 0x80 to 0xFF; below them each byte is the ASCII character of
// its own number. The five bytes the code page leaves unassigned (0x81, 0x83, 0x88, 0x90,
// 0x98) decode to the control character of the same number and encode back to their byte,
// so every file, whatever bytes it holds, reads and writes back unchanged.
constexpr char16_t UpperCharacters[128] = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, //
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179, //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, //
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7, //
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, //
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, //
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, //
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, //
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, //
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, //
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, //
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, //
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, //
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7, //
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9, //
};

struct CharacterTable {
    char16_t of[256];
};

constexpr CharacterTable makeCharacters()
{
    CharacterTable table{};
    for (int b = 0; b < 0x80; ++b)
        table.of[b] = char16_t(b);
    for (int b = 0x80; b < 0x100; ++b)
        table.of[b] = UpperCharacters[b - 0x80];
    return table;
}

constexpr CharacterTable Characters = makeCharacters();

// The byte of every unit: the byte whose character it is, and "?" for every other unit.
// (Qt's converter for windows-1250 has no nearest-byte substitutes either: it gives every
// other unit its substitute byte 0x1A, or no byte at all, and the program writes "?" there.)
// The table runs up to the highest character of the code page (U+2122), about 8 KB of
// constant data; every unit above it, the surrogates included, has no byte.
constexpr int byteTableSize()
{
    int size = 0;
    for (const char16_t character : Characters.of)
        size = std::max(size, character + 1);
    return size;
}

constexpr int ByteTableSize = byteTableSize();

struct ByteTable {
    char of[ByteTableSize];
};

constexpr ByteTable makeBytes()
{
    ByteTable table{};
    for (char& byte : table.of)
        byte = '?';
    for (int b = 0; b < 256; ++b)
        table.of[Characters.of[b]] = char(b);
    return table;
}

constexpr ByteTable Bytes = makeBytes();

constexpr char byteOf(char16_t unit) { return unit < ByteTableSize ? Bytes.of[unit] : '?'; }

constexpr bool everyByteComesBack()
{
    for (int b = 0; b < 256; ++b)
        if (byteOf(Characters.of[b]) != char(b))
            return false;
    return true;
}
static_assert(everyByteComesBack(), "two bytes decode to one character");
static_assert(byteOf(u'?') == '?' && byteOf(0xD800) == '?' && byteOf(0xFFFF) == '?');

} // namespace

const AnsiTables* AnsiTables::get()
{
    static constexpr AnsiTables tables;
    return &tables;
}

char16_t AnsiTables::character(unsigned char byte) const { return Characters.of[byte]; }

char AnsiTables::byte(char16_t unit) const { return byteOf(unit); }

namespace {

// The block loops, each on pointers that alias nothing, so that the compiler turns them into
// vector instructions, or for the look-up of bytes into one tight loop without branches.
bool asciiBytes(const unsigned char* __restrict in)
{
    unsigned char any = 0;
    for (qsizetype k = 0; k < Block; ++k)
        any |= in[k];
    return any < 0x80;
}

bool asciiUnits(const char16_t* __restrict in)
{
    char16_t any = 0;
    for (qsizetype k = 0; k < Block; ++k)
        any |= in[k];
    return any < 0x80;
}

void widen(const unsigned char* __restrict in, char16_t* __restrict out)
{
    for (qsizetype k = 0; k < Block; ++k)
        out[k] = in[k];
}

void narrow(const char16_t* __restrict in, char* __restrict out)
{
    for (qsizetype k = 0; k < Block; ++k)
        out[k] = char(in[k]);
}

// Every unit of the block is in the table of bytes, so none is a surrogate either.
bool inByteTable(const char16_t* __restrict in)
{
    char16_t top = 0;
    for (qsizetype k = 0; k < Block; ++k)
        top = std::max(top, in[k]);
    return top < ByteTableSize;
}

void lookUpBytes(const char16_t* __restrict in, char* __restrict out)
{
    for (qsizetype k = 0; k < Block; ++k)
        out[k] = Bytes.of[in[k]];
}

} // namespace

void AnsiTables::decode(const char* bytes, qsizetype count, char16_t* out) const
{
    const auto* in = reinterpret_cast<const unsigned char*>(bytes);
    qsizetype i = 0;
    for (; count - i >= Block; i += Block) {
        if (asciiBytes(in + i)) {
            widen(in + i, out + i);
        } else {
            for (qsizetype k = i; k < i + Block; ++k)
                out[k] = Characters.of[in[k]];
        }
    }
    for (; i < count; ++i)
        out[i] = Characters.of[in[i]];
}

qsizetype AnsiTables::encode(const char16_t* text, qsizetype count, char* out) const
{
    qsizetype i = 0;
    qsizetype o = 0;
    while (i < count) {
        if (count - i >= Block && asciiUnits(text + i)) {
            narrow(text + i, out + o);
            i += Block;
            o += Block;
            continue;
        }
        if (count - i >= Block && inByteTable(text + i)) { // letters of the code page, say
            lookUpBytes(text + i, out + o);
            i += Block;
            o += Block;
            continue;
        }
        // One block (or the tail) character by character.
        const qsizetype stop = std::min(count, i + Block);
        while (i < stop) {
            const char16_t unit = text[i++];
            if (isHighSurrogate(unit) && i < count && isLowSurrogate(text[i]))
                ++i; // one character, which no single-byte code page holds
            out[o++] = byteOf(unit);
        }
    }
    return o;
}

qsizetype AnsiTables::firstUnheld(const char16_t* text, qsizetype count) const
{
    qsizetype i = 0;
    while (count - i >= Block && asciiUnits(text + i))
        i += Block;
    for (; i < count; ++i)
        if (byteOf(text[i]) == '?' && text[i] != u'?')
            return i;
    return -1;
}

QByteArray toAnsi(const QString& text)
{
    const AnsiTables* tables = AnsiTables::get();
    if (!tables || text.isEmpty())
        return QByteArray();
    QByteArray bytes(text.size(), Qt::Uninitialized);
    bytes.truncate(tables->encode(reinterpret_cast<const char16_t*>(text.constData()), text.size(), bytes.data()));
    return bytes;
}

QString fromAnsi(const QByteArray& bytes)
{
    const AnsiTables* tables = AnsiTables::get();
    if (!tables || bytes.isEmpty())
        return QString();
    QString text(bytes.size(), Qt::Uninitialized);
    tables->decode(bytes.constData(), bytes.size(), reinterpret_cast<char16_t*>(text.data()));
    return text;
}

qsizetype firstUnheld(QStringView text)
{
    const AnsiTables* tables = AnsiTables::get();
    if (!tables)
        return -1;
    return tables->firstUnheld(reinterpret_cast<const char16_t*>(text.data()), text.size());
}

QString characterName(QStringView text, qsizetype position)
{
    if (position < 0 || position >= text.size())
        return QString();
    char32_t code = text[position].unicode();
    qsizetype length = 1;
    if (text[position].isHighSurrogate() && position + 1 < text.size() && text[position + 1].isLowSurrogate()) {
        code = QChar::surrogateToUcs4(text[position], text[position + 1]);
        length = 2;
    }
    return QStringLiteral("\"%1\" (U+%2)")
        .arg(text.mid(position, length).toString(), QString::number(uint(code), 16).toUpper().rightJustified(4, QLatin1Char('0')));
}

QString unstorableRefusal(const QString& what, const QString& where, QStringView text, qsizetype position)
{
    return QStringLiteral("%1 was not saved: %2 holds the character %3, which the file cannot store (documents are "
                          "kept in Central European text, Windows-1250). Change it and save again.")
        .arg(what, where, characterName(text, position));
}

} // namespace platform
