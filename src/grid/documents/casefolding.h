#pragma once
// The letter-case folding of find and replace: a to z and the Central European letters č ć
// š ž đ ö ä ë become capitals, every other character stays as it is. Lengths never change,
// so a position in a folded text is the same position in the text before folding.

#include <QChar>
#include <QString>
#include <QStringView>

namespace grid {

class CaseFolding {
public:
    static QChar fold(QChar ch)
    {
        const char16_t c = ch.unicode();
        if (c >= u'a' && c <= u'z')
            return QChar(char16_t(c - 32));
        switch (c) {
        case u'č': return QChar(u'Č');
        case u'ć': return QChar(u'Ć');
        case u'š': return QChar(u'Š');
        case u'ž': return QChar(u'Ž');
        case u'đ': return QChar(u'Đ');
        case u'ö': return QChar(u'Ö');
        case u'ä': return QChar(u'Ä');
        case u'ë': return QChar(u'Ë');
        default: return ch; // ß and every capital stay
        }
    }

    // UpperCaseText: the text folded, or unchanged when an exact match is asked for.
    static QString UpperCaseText(const QString& text, bool exact);

    // The first position from `from` on (zero-based) where `needle` occurs in `text`,
    // compared folded unless `exact`; -1 when none. `needle` must already have been passed
    // through UpperCaseText with the same `exact`. An empty needle occurs at `from` when
    // that lies within the text or at its end.
    static qsizetype find(QStringView text, QStringView needle, qsizetype from, bool exact);
};

} // namespace grid
