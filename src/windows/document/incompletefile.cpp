#include "windows/document/incompletefile.h"

namespace windows {

QString IncompleteFile::rows() const
{
    const int found = cut.lastRowFound;
    const QString foundPart = found == 0   ? QStringLiteral("no rows were found in it")
                              : found == 1 ? QStringLiteral("row 1 was found")
                                           : QStringLiteral("rows 1 to %1 were found").arg(found);
    if (!cut.declaredRows)
        return QStringLiteral("It ends before its row count, so how many rows it should hold is not known, and %1.")
            .arg(foundPart);
    const int declared = *cut.declaredRows;
    return QStringLiteral("It should hold %1 %2, and %3.")
        .arg(QString::number(declared), declared == 1 ? QStringLiteral("row") : QStringLiteral("rows"), foundPart);
}

QString IncompleteFile::notice() const
{
    return QStringLiteral("The file \"%1\" is incomplete: it was cut short, and what came after the cut is missing. "
                          "%2\n\nWhat it still holds is shown. Save asks before it writes over this file; Save As "
                          "can keep the document under another name.")
        .arg(path, rows());
}

QString IncompleteFile::overwriteQuestion() const
{
    return QStringLiteral("The file \"%1\" was incomplete when it was opened: it was cut short. %2\n\nWrite this "
                          "document over it, as it is shown now?")
        .arg(path, rows());
}

} // namespace windows
