#pragma once
// Lets GoogleTest print Qt texts as text in failure messages rather than as raw bytes.

#include <QRect>
#include <QString>
#include <QStringList>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& list, std::ostream* os)
{
    *os << '{';
    for (qsizetype i = 0; i < list.size(); ++i)
        *os << (i ? ", " : "") << '"' << list[i].toStdString() << '"';
    *os << '}';
}

inline void PrintTo(const QRect& rect, std::ostream* os)
{
    *os << "QRect(" << rect.x() << ", " << rect.y() << ", " << rect.width() << " x " << rect.height() << ')';
}
