#include "shell/filesearchpattern.h"

namespace shell {

namespace {

bool sameLetter(QChar a, QChar b)
{
    return a == b || a.toCaseFolded() == b.toCaseFolded();
}

} // namespace

bool matchesSearchPattern(QStringView name, QStringView pattern)
{
    // Greedy matching that returns to the last "*" on a mismatch: linear for the usual
    // patterns, never exponential.
    qsizetype n = 0;
    qsizetype p = 0;
    qsizetype star = -1;
    qsizetype resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] != QLatin1Char('*')
            && (pattern[p] == QLatin1Char('?') || sameLetter(pattern[p], name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == QLatin1Char('*')) {
            star = p++;
            resume = n;
        } else if (star >= 0) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == QLatin1Char('*'))
        ++p;
    return p == pattern.size();
}

bool isTransactionHeaderName(QStringView name)
{
    return name.endsWith(u"QVTH", Qt::CaseSensitive);
}

} // namespace shell
