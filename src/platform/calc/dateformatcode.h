#pragma once
// The office's number format code that shows a date and time the way a Qt date pattern
// writes it, so that a date cell reads the same as the program's own date texts.

#include <QString>

namespace platform::calc {

// The format code, in the office's English keywords, for a QDateTime::toString pattern
// ("dd.MM.yyyy HH:mm:ss" gives DD"."MM"."YYYY" "HH":"MM":"SS). Day and month names and the
// AM/PM marker follow the office's language; everything that is not a date or time field
// is kept as literal text.
QString officeDateCode(const QString& qtPattern);

} // namespace platform::calc
