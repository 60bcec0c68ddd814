#pragma once
// A data file found damaged while it was read line by line: a line that should hold a
// number and does not, or a file cut short. The reading goes on as ever, but before the
// program writes its own values over the file, the file as it was found is kept beside it
// and the user is told which file and which lines were damaged.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace datafiles {

// A line (1-based) that must read as a number, or as a switch ("0" or "1"), and the field it
// belongs to. A switch line found damaged, or missing from a file cut short, is not replaced
// when the file is next written: its writer keeps it as found (empty where it was missing)
// until the switch is set anew.
struct NumberLine {
    int line;
    QString field;
    bool isSwitch = false;
};

// Checks the lines read from the file at path: all lineCount lines must be there, and each
// number line the file has must read as a number (a switch line as 0 or 1). When one is not, the file's bytes as
// found are kept beside it and the user is told, naming the file (kind: "settings file")
// and its damaged lines; once per run for the same file and the same bytes. True when the
// user was told now.
bool reportDamagedLines(const QString& kind, const QString& path, int lineCount,
                        const QList<NumberLine>& numberLines, const QStringList& lines,
                        const QByteArray& bytesAsFound);

// Keeps a copy of the bytes of the file found at path beside it: "<path>.damaged", or
// "<path>.damaged-2" and so on when an earlier copy holds other bytes (an identical one is
// taken as it is). The copy's path; "" with error set when it could not be kept.
QString keepDamagedCopy(const QString& path, const QByteArray& bytes, QString& error);

// The sentence that tells the user where the copy is, or why there is none.
QString damagedCopySentence(const QString& copyPath, const QString& error);

} // namespace datafiles
