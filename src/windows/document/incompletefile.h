#pragma once
// A document's file that was cut short when the window read it: the notice the window shows
// as it opens the file, and the question it asks before a save writes over that file. The
// window shows what the file still holds, so that it can be rescued; the user is told which
// rows are missing, and nothing writes over the file unasked.

#include "grid/documents/listfilecut.h"

#include <QString>

namespace windows {

struct IncompleteFile {
    QString path;
    grid::ListFileCut cut;

    // Told once the document is shown.
    QString notice() const;
    // Asked before a save writes the document over the file: Yes writes, No saves nothing.
    QString overwriteQuestion() const;
};

} // namespace windows
