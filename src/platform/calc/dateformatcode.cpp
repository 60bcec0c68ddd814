// Translates a Qt date pattern into the office's date format code.

#include "platform/calc/dateformatcode.h"

#include <QStringList>

namespace platform::calc {

namespace {

// The office's field for a run of one Qt pattern letter; "" for a letter that is no field.
QString field(QChar letter, qsizetype length)
{
    switch (letter.unicode()) {
    case 'd':
        if (length <= 2)
            return QString(length, QLatin1Char('D'));
        return length == 3 ? QStringLiteral("NN") : QStringLiteral("NNN"); // day names
    case 'M':
        return QString(qMin<qsizetype>(length, 4), QLatin1Char('M'));
    case 'y':
        return length <= 2 ? QStringLiteral("YY") : QStringLiteral("YYYY");
    case 'h':
    case 'H':
        return length == 1 ? QStringLiteral("H") : QStringLiteral("HH");
    case 'm':
        return length == 1 ? QStringLiteral("M") : QStringLiteral("MM");
    case 's':
        return length == 1 ? QStringLiteral("S") : QStringLiteral("SS");
    case 'A':
    case 'a':
        return letter == QLatin1Char('A') ? QStringLiteral("AM/PM") : QStringLiteral("am/pm");
    default:
        return QString();
    }
}

// The longest run a letter makes in a Qt pattern; longer runs start a new field.
qsizetype longestRun(QChar letter)
{
    switch (letter.unicode()) {
    case 'd':
    case 'M':
    case 'y':
        return 4;
    case 'A':
    case 'a':
        return 1;
    default:
        return 2;
    }
}

} // namespace

QString officeDateCode(const QString& qtPattern)
{
    QString code;
    QString literal;
    const auto flushLiteral = [&] {
        if (literal.isEmpty())
            return;
        // A double quote cannot stand inside a quoted run: it is escaped on its own.
        const QStringList parts = literal.split(QLatin1Char('"'));
        for (qsizetype i = 0; i < parts.size(); ++i) {
            if (i > 0)
                code += QStringLiteral("\\\"");
            if (!parts[i].isEmpty())
                code += QLatin1Char('"') + parts[i] + QLatin1Char('"');
        }
        literal.clear();
    };
    const qsizetype n = qtPattern.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = qtPattern[i];
        if (c == QLatin1Char('\'')) {
            // Quoted text; two quotes in a row are one quote character.
            if (i + 1 < n && qtPattern[i + 1] == QLatin1Char('\'')) {
                literal += c;
                i += 2;
                continue;
            }
            ++i;
            while (i < n) {
                if (qtPattern[i] == QLatin1Char('\'')) {
                    if (i + 1 < n && qtPattern[i + 1] == QLatin1Char('\'')) {
                        literal += QLatin1Char('\'');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                literal += qtPattern[i++];
            }
            continue;
        }
        qsizetype run = 1;
        while (i + run < n && qtPattern[i + run] == c && run < longestRun(c))
            ++run;
        const QString f = field(c, run);
        if (f.isEmpty()) {
            literal += c;
            ++i;
            continue;
        }
        // "AP" and "ap" are one marker, as "A" and "a" are.
        if ((c == QLatin1Char('A') || c == QLatin1Char('a')) && i + 1 < n
            && qtPattern[i + 1] == (c == QLatin1Char('A') ? QLatin1Char('P') : QLatin1Char('p')))
            ++run;
        flushLiteral();
        code += f;
        i += run;
    }
    flushLiteral();
    return code;
}

} // namespace platform::calc
