#pragma once
// The state of one shared file dialog: what it shows and what the user chose. The start-up
// window owns five of them; windows keep their open document's path in FileName.

#include <QString>
#include <QStringList>
#include <cstdint>

namespace platform {

struct CommonDialog {
    QString FileName;    // full path of the chosen file
    QString FileTitle;   // its name without the folder
    QString Filter;      // "Description|*.EXT|Description 2|*.EX2|" pairs
    QString InitDir;     // folder the dialog starts in
    QString DialogTitle;
    int Flags = 0;       // 1025 marks a document opened read-only
    bool CancelError = false;
    uint32_t Color = 0;  // &HBBGGRR, for the colour dialog

    // The filter as Qt name filters: "Description (*.EXT)" per pair.
    QStringList qtNameFilters() const;
};

} // namespace platform
