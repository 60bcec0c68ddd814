#include "datafiles/damagedfile.h"

#include "datafiles/linefield.h"
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

bool isDamaged(const NumberLine& number, const QString& line)
{
    return number.isSwitch ? !parseCheck(line).has_value() : !platform::vb::IsNumeric(line);
}

struct Damage {
    QStringList told;
    bool replaced = false;   // a line the next writing replaces
    bool switchKept = false; // a switch line the next writing keeps as found
    bool switchMissing = false; // a switch line the file is cut short before
};

Damage damageOf(int lineCount, const QList<NumberLine>& numberLines, const QStringList& lines)
{
    Damage damage;
    for (const NumberLine& number : numberLines) {
        const auto line = LineFileReader::line(lines, number.line);
        if (!line || !isDamaged(number, *line))
            continue;
        (number.isSwitch ? damage.switchKept : damage.replaced) = true;
        damage.told << (line->isEmpty()
                            ? QStringLiteral("line %1 (%2) is empty").arg(number.line).arg(number.field)
                            : QStringLiteral("line %1 (%2) holds \"%3\", which is %4")
                                  .arg(number.line)
                                  .arg(number.field, *line,
                                       number.isSwitch ? QStringLiteral("neither \"0\" nor \"1\"")
                                                       : QStringLiteral("not a number")));
    }
    if (lines.size() < lineCount) {
        damage.replaced = true;
        for (const NumberLine& number : numberLines)
            damage.switchMissing = damage.switchMissing || (number.isSwitch && number.line > lines.size());
        damage.told << QStringLiteral("it ends after line %1 of its %2 lines").arg(lines.size()).arg(lineCount);
    }
    return damage;
}

} // namespace

bool reportDamagedLines(const QString& kind, const QString& path, int lineCount,
                        const QList<NumberLine>& numberLines, const QStringList& lines,
                        const QByteArray& bytesAsFound)
{
    const Damage damage = damageOf(lineCount, numberLines, lines);
    if (damage.told.isEmpty())
        return false;
    const QByteArray key = QFile::encodeName(path) + '\0' + bytesAsFound;
    if (toldOf().contains(key))
        return false;
    toldOf().insert(key);
    QString error;
    const QString copy = keepDamagedCopy(path, bytesAsFound, error);
    QString text = QStringLiteral("The %1 \"%2\" is damaged: %3. ").arg(kind, path, damage.told.join(QStringLiteral("; ")));
    text += damage.replaced ? QStringLiteral("Quorvane has read the rest of it; what could not be read is replaced "
                                             "when the file is next written. ")
                            : QStringLiteral("Quorvane has read the rest of it. ");
    if (damage.switchKept)
        text += QStringLiteral("A switch that is neither \"0\" nor \"1\" is kept as it is in the file until it is set again "
                               "in the settings window. ");
    if (damage.switchMissing)
        text += QStringLiteral("A switch whose line is missing is not taken as off: its line is written empty until "
                               "the switch is set again in the settings window. ");
    platform::prompts().MsgBox(text + damagedCopySentence(copy, error), platform::MsgStyle::Critical);
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
