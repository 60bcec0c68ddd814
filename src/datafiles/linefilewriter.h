#pragma once
// Writes a small data file in the line-file form: one value per line as Windows-1250 text,
// CR LF after each line (after the last one too, or not, as the file's form says), the
// whole file scrambled at rest, reaching the disk in one safe write.

#include "datafiles/datafilewriter.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace datafiles {

enum class LastLineEnd { Written, Omitted };

class LineFileWriter {
public:
    explicit LineFileWriter(LastLineEnd lastLineEnd) : m_lastLineEnd(lastLineEnd) {}

    void add(const QString& value) { m_values.append(value); }

    const QStringList& values() const { return m_values; }
    QByteArray plainBytes() const;
    QByteArray scrambledBytes() const;

    // Replaces the file with the scrambled bytes.
    DataFileWrite writeTo(const QString& path) const;

private:
    LastLineEnd m_lastLineEnd;
    QStringList m_values;
};

} // namespace datafiles
