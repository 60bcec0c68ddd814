#include "windows/document/incompletefile.h"

namespace windows {

QString IncompleteFile::notice() const
{
    return cut.described(path)
        + QStringLiteral("\n\nWhat it still holds is shown. Save asks before it writes over this file; Save As can "
                         "keep the document under another name.");
}

QString IncompleteFile::overwriteQuestion() const
{
    return QStringLiteral("The file \"%1\" was incomplete when it was opened: it was cut short. %2\n\nWrite this "
                          "document over it, as it is shown now?")
        .arg(path, cut.rowsSentence());
}

} // namespace windows
