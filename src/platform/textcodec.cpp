#include "platform/textcodec.h"

#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>

namespace platform {

namespace {
constexpr const char* CodePage = "windows-1250";

// The converter writes its own substitute byte (0x1A) for a character the code page cannot
// hold; the program writes "?" there. The code page has one byte per character, so the
// bytes line up with the characters and each substitute can be told from a real U+001A.
QByteArray withQuestionMarks(const QString& text, QByteArray bytes)
{
    const QList<uint> codePoints = text.toUcs4();
    if (codePoints.size() == bytes.size()) {
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            if (bytes[i] == '\x1A' && codePoints[i] != 0x1A)
                bytes[i] = '?';
        }
        return bytes;
    }
    // Not one byte per character: convert each character on its own.
    QByteArray out;
    for (const uint cp : codePoints) {
        QStringEncoder one(CodePage, QStringConverter::Flag::Stateless);
        const char32_t c = char32_t(cp);
        const QByteArray b = one.encode(QString::fromUcs4(&c, 1));
        out.append(one.hasError() || b.size() != 1 ? QByteArray("?") : b);
    }
    return out;
}
} // namespace

QByteArray toAnsi(const QString& text)
{
    QStringEncoder encoder(CodePage, QStringConverter::Flag::Stateless);
    const QByteArray bytes = encoder.encode(text);
    if (!encoder.hasError())
        return bytes;
    return withQuestionMarks(text, bytes);
}

QString fromAnsi(const QByteArray& bytes)
{
    QStringDecoder decoder(CodePage, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

} // namespace platform
