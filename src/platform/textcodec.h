#pragma once
// The program's "ANSI" text is Windows-1250. Cell and field texts are QString in memory and
// are converted only where they meet a file or the spreadsheet program.

#include <QByteArray>
#include <QString>

namespace platform {

// Encodes to Windows-1250; a character the code page cannot hold becomes "?".
QByteArray toAnsi(const QString& text);
// Decodes Windows-1250 bytes.
QString fromAnsi(const QByteArray& bytes);

} // namespace platform
