#include "windows/document/incompletefile.h"

namespace windows {

QString IncompleteFile::rows() const
{
    return cut.rowsSentence();
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
