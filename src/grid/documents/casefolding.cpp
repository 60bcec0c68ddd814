#include "grid/documents/casefolding.h"

namespace grid {

QString CaseFolding::UpperCaseText(const QString& text, bool exact)
{
    if (exact)
        return text;
    QString out = text;
    for (QChar& ch : out)
        ch = fold(ch);
    return out;
}

qsizetype CaseFolding::find(QStringView text, QStringView needle, qsizetype from, bool exact)
{
    if (from < 0 || from > text.size())
        return -1;
    if (exact)
        return needle.isEmpty() ? from : text.indexOf(needle, from, Qt::CaseSensitive);
    if (needle.isEmpty())
        return from;
    const qsizetype last = text.size() - needle.size();
    const QStringView folded = needle;
    const QChar first = folded[0];
    for (qsizetype p = from; p <= last; ++p) {
        if (fold(text[p]) != first)
            continue;
        qsizetype i = 1;
        while (i < folded.size() && fold(text[p + i]) == folded[i])
            ++i;
        if (i == folded.size())
            return p;
    }
    return -1;
}

} // namespace grid
