#pragma once
// Small helpers of the data-file tests: a file's bytes, and line files made by hand as the
// stored files have them.

#include "datafiles/hostfile.h"
#include "datafiles/linefilewriter.h"
#include "datafiles/scramble.h"
#include "platform/safefile.h"
#include "platform/textcodec.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QDir>
#include <QDirIterator>
#include <QString>
#include <QStringList>
#include <ctime>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>

namespace datafilestest {

inline QByteArray contentOf(const QString& path)
{
    QByteArray bytes;
    platform::readWholeFile(path, bytes);
    return bytes;
}

// The plain bytes of lines, CR LF after each (the last one too, unless the file's form
// omits it); made here by hand, not by the writer under test.
inline QByteArray plainLines(const QStringList& lines,
                             datafiles::LastLineEnd lastLineEnd = datafiles::LastLineEnd::Written)
{
    QByteArray plain;
    for (const QString& line : lines)
        plain += platform::toAnsi(line) + "\r\n";
    if (lastLineEnd == datafiles::LastLineEnd::Omitted && !plain.isEmpty())
        plain.chop(2);
    return plain;
}

// The lines with line n (1-based) replaced by value.
inline QStringList withLine(QStringList lines, int n, const QString& value)
{
    lines[n - 1] = value;
    return lines;
}

// Plain line-file bytes with line n (1-based) replaced by value; its line end, if it has
// one, stays.
inline QByteArray withLine(const QByteArray& plain, int n, const QByteArray& value)
{
    QList<QByteArray> lines = plain.split('\n');
    lines[n - 1] = n < lines.size() ? value + '\r' : value;
    return lines.join('\n');
}

inline void writeBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(bytes);
}

// Sets a file's last change the given number of seconds back.
inline void ageFile(const QString& path, qint64 seconds)
{
    const timespec when {std::time(nullptr) - seconds, 0};
    const timespec times[2] = {when, when};
    ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0);
}

// Every file and folder below a folder with its bytes ("/" for a folder), by relative path.
inline std::map<QString, QByteArray> treeOf(const QString& root)
{
    std::map<QString, QByteArray> tree;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        const QString relative = QDir(root).relativeFilePath(entry.filePath());
        if (entry.isDir()) {
            tree[relative] = "/";
        } else {
            QFile file(entry.filePath());
            tree[relative] = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("?");
        }
    }
    return tree;
}

// An 18-line host file's lines as a host writes them.
struct HostLines {
    QStringList lines = {datafiles::HostMarker, "1500.5", "42", "Firma d.o.o.", "Cesta 1", "Celje",
                         "3000", "info@firma.si", "03 111", "03 222", "geslo", "17", "", "1", "0",
                         "tester", "10.12.2026 12:00:00", "TESTPC"};
    HostLines& set(int line, const QString& value)
    {
        lines[line - 1] = value;
        return *this;
    }
    QByteArray scrambledBytes() const { return datafiles::scrambled(plainLines(lines)); }
};

} // namespace datafilestest
