#include "datafiles/damagedfile.h"

#include "datafiles/linefilereader.h"
#include "platform/prompts.h"
#include "platform/safefile.h"
#include "platform/vb.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace datafiles {

namespace {

constexpr int MostCopies = 99;

// The damaged files the user has been told of in this run, by path and bytes.
QSet<QByteArray>& toldOf()
{
    static QSet<QByteArray> told;
    return told;
}

QStringList damageOf(int lineCount, const QList<NumberLine>& numberLines, const QStringList& lines)
{
    QStringList damage;
    for (const NumberLine& number : numberLines) {
        const auto line = LineFileReader::line(lines, number.line);
        if (!line || platform::vb::IsNumeric(*line))
            continue;
        damage << (line->isEmpty()
                       ? QStringLiteral("line %1 (%2) is empty").arg(number.line).arg(number.field)
                       : QStringLiteral("line %1 (%2) holds \"%3\", which is not a number")
                             .arg(number.line)
                             .arg(number.field, *line));
    }
    if (lines.size() < lineCount)
        damage << QStringLiteral("it ends after line %1 of its %2 lines").arg(lines.size()).arg(lineCount);
    return damage;
}

} // namespace

bool reportDamagedLines(const QString& kind, const QString& path, int lineCount,
                        const QList<NumberLine>& numberLines, const QStringList& lines,
                        const QByteArray& bytesAsFound)
{
    const QStringList damage = damageOf(lineCount, numberLines, lines);
    if (damage.isEmpty())
        return false;
    const QByteArray key = QFile::encodeName(path) + '\0' + bytesAsFound;
    if (toldOf().contains(key))
        return false;
    toldOf().insert(key);
    QString error;
    const QString copy = keepDamagedCopy(path, bytesAsFound, error);
    platform::prompts().MsgBox(
        QStringLiteral("The %1 \"%2\" is damaged: %3. Quorvane has read the rest of it; what "
                       "could not be read is replaced when the file is next written. ")
                .arg(kind, path, damage.join(QStringLiteral("; ")))
            + damagedCopySentence(copy, error),
        platform::MsgStyle::Critical);
    return true;
}

QString keepDamagedCopy(const QString& path, const QByteArray& bytes, QString& error)
{
    for (int n = 1; n <= MostCopies; ++n) {
        const QString copy = path + (n == 1 ? QStringLiteral(".damaged") : QStringLiteral(".damaged-%1").arg(n));
        if (QFileInfo::exists(copy) || QFileInfo(copy).isSymLink()) {
            QByteArray earlier;
            if (platform::readWholeFile(copy, earlier) && earlier == bytes)
                return copy; // kept already
            continue;
        }
        if (const platform::FileResult written = platform::writeFileAtomically(copy, bytes); !written) {
            error = written.error;
            return QString();
        }
        return copy;
    }
    error = QStringLiteral("There are %1 damaged copies beside it already.").arg(MostCopies);
    return QString();
}

QString damagedCopySentence(const QString& copyPath, const QString& error)
{
    if (!copyPath.isEmpty())
        return QStringLiteral("The file as it was found is kept as \"%1\".").arg(copyPath);
    return QStringLiteral("The file as it was found could not be kept: %1").arg(error);
}

} // namespace datafiles
