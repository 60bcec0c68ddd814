#pragma once
// Readable failure messages for Qt texts in this folder's tests.

#include <QString>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
