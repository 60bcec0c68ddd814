#pragma once
// The lines of a small data file as it stands on disk, read in whichever scramble state its
// key line reads as a number, without changing the file: a posting reads before it knows
// whether it will change anything.

#include <QString>
#include <QStringList>

namespace posting {

struct StoredLines {
    enum class Status { Missing, Unreadable, Read };
    Status status = Status::Missing;
    QStringList lines;
    QString error; // a sentence naming the file, when Unreadable

    // keyLine counts from 1.
    static StoredLines read(const QString& path, int keyLine);

    // Line n (1-based); "" when the file is shorter.
    QString line(int n) const { return lines.value(n - 1); }
};

} // namespace posting
