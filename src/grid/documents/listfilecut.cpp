#include "grid/documents/listfilecut.h"

namespace grid {

QString ListFileCut::rowsSentence() const
{
    const int found = lastRowFound;
    const QString foundPart = found == 0   ? QStringLiteral("no rows were found in it")
                              : found == 1 ? QStringLiteral("row 1 was found")
                                           : QStringLiteral("rows 1 to %1 were found").arg(found);
    if (!declaredRows)
        return QStringLiteral("It ends before its row count, so how many rows it should hold is not known, and %1.")
            .arg(foundPart);
    const int declared = *declaredRows;
    return QStringLiteral("It should hold %1 %2, and %3.")
        .arg(QString::number(declared), declared == 1 ? QStringLiteral("row") : QStringLiteral("rows"), foundPart);
}

QString ListFileCut::described(const QString& path) const
{
    return QStringLiteral("The file \"%1\" is incomplete: it was cut short, and what came after the cut is missing. %2")
        .arg(path, rowsSentence());
}

} // namespace grid
