#include "platform/textcodec.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <memory>

namespace platform {

namespace {
constexpr const char* CodePage = "windows-1250";
// Texts are converted a block at a time: a block of plain ASCII, the common case, takes one
// loop that the compiler turns into vector instructions.
constexpr qsizetype Block = 32;

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit < 0xDC00; }
bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit < 0xE000; }
} // namespace

const AnsiTables* AnsiTables::get()
{
    static const std::unique_ptr<const AnsiTables> tables(build());
    return tables.get();
}

const AnsiTables* AnsiTables::build()
{
    QStringDecoder decoder(CodePage, QStringConverter::Flag::Stateless);
    if (!decoder.isValid() || !QStringEncoder(CodePage, QStringConverter::Flag::Stateless).isValid())
        return nullptr;

    auto tables = std::unique_ptr<AnsiTables>(new AnsiTables);
    QByteArray everyByte(256, Qt::Uninitialized);
    for (int b = 0; b < 256; ++b)
        everyByte[b] = char(b);
    const QString characters = decoder.decode(everyByte);
    if (decoder.hasError() || characters.size() != 256)
        return nullptr; // not a code page of one character per byte
    tables->m_asciiSame = true;
    for (int b = 0; b < 256; ++b) {
        tables->m_characters[b] = characters[b].unicode();
        tables->m_decoded.set(characters[b].unicode());
        if (b < 0x80 && characters[b].unicode() != b)
            tables->m_asciiSame = false;
    }
    return tables.release();
}

const char* AnsiTables::bytes() const
{
    std::call_once(m_bytesBuilt, [this] {
        m_bytes = std::make_unique<char[]>(0x10000);
        QStringEncoder encoder(CodePage, QStringConverter::Flag::Stateless);
        // Every unit that is a character on its own, in one text. The converter writes its
        // own substitute byte (0x1A) for a character the code page cannot hold; the program
        // writes "?" there, and a real U+001A keeps its byte.
        QString units;
        units.reserve(0x10000 - 0x800);
        for (int u = 0; u < 0x10000; ++u)
            if (!isHighSurrogate(char16_t(u)) && !isLowSurrogate(char16_t(u)))
                units.append(QChar(char16_t(u)));
        const QByteArray encoded = encoder.encode(units);
        const bool oneEach = encoded.size() == units.size();
        for (qsizetype i = 0; i < units.size(); ++i) {
            const char16_t unit = units[i].unicode();
            QByteArray one;
            if (oneEach) {
                one = encoded.mid(i, 1);
            } else { // not one byte for each: each character asked on its own
                QStringEncoder single(CodePage, QStringConverter::Flag::Stateless);
                one = single.encode(QStringView(&unit, 1));
            }
            char byte = one.size() == 1 ? one[0] : '?';
            if (byte == '\x1A' && unit != 0x1A)
                byte = '?';
            m_bytes[unit] = byte;
        }
        for (int u = 0xD800; u < 0xE000; ++u)
            m_bytes[u] = '?';
    });
    return m_bytes.get();
}

namespace {

// The block loops, each on pointers that alias nothing, so that the compiler turns them into
// vector instructions.
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

} // namespace

void AnsiTables::decode(const char* bytes, qsizetype count, char16_t* out) const
{
    const auto* in = reinterpret_cast<const unsigned char*>(bytes);
    qsizetype i = 0;
    for (; count - i >= Block; i += Block) {
        if (m_asciiSame && asciiBytes(in + i)) {
            widen(in + i, out + i);
        } else {
            for (qsizetype k = i; k < i + Block; ++k)
                out[k] = m_characters[in[k]];
        }
    }
    for (; i < count; ++i)
        out[i] = m_characters[in[i]];
}

qsizetype AnsiTables::encode(const char16_t* text, qsizetype count, char* out) const
{
    const char* byteOf = bytes();
    qsizetype i = 0;
    qsizetype o = 0;
    while (i < count) {
        if (count - i >= Block && m_asciiSame && asciiUnits(text + i)) {
            narrow(text + i, out + o);
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
            out[o++] = byteOf[unit];
        }
    }
    return o;
}

qsizetype AnsiTables::firstUnheld(const char16_t* text, qsizetype count) const
{
    qsizetype i = 0;
    if (m_asciiSame)
        while (count - i >= Block && asciiUnits(text + i))
            i += Block;
    for (; i < count; ++i)
        if (!m_decoded.test(text[i]) && bytes()[text[i]] == '?' && text[i] != u'?')
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

} // namespace platform
