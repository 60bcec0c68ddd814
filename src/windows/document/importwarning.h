#pragma once
// The question the spreadsheet import asks before a long import: how many seconds (and
// minutes) reading the rows is expected to take on this processor, which cannot be stopped
// once it runs. The model is about MHz / 115 rows a second.

#include <QString>

namespace windows {

struct ImportWarning {
    QString text;
    QString title;
    int style = 0; // a message box style: Yes and No, No the default

    // The question for `rows` rows, typed as `typed` (shown as the user typed it), on a
    // processor of `mhz` MHz. Only imports of 499 rows and more ask it.
    static ImportWarning forRows(const QString& typed, double rows, int mhz);

    // The estimate in seconds: rows / (mhz / 115), rounded half to even; 0 where it cannot be
    // computed (no processor speed) or leaves the range of a 16-bit whole number.
    static int seconds(double rows, int mhz);

    // Rows from this count on get the question.
    static constexpr double FirstRowsAsked = 499;
};

} // namespace windows
