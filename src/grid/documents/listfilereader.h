#pragma once
// Reads the bytes of a list file in any of its three forms (plain, password, scrambled) into
// a ListDocument. Cell lines that do not follow the format are passed over; a file whose
// first lines are not a header and a row count (a picture or a letter given the document's
// extension), or that declares more rows than a grid can hold, is refused, so that it is
// never shown as an empty document and saved over. A file cut short (one that ends before
// its row count, or inside a line) reads as far as it goes, and the document says so
// (ListDocument::cut), so that what it still holds can be rescued without anyone taking it
// for the whole document.

#include "platform/safefile.h"

#include <QByteArray>
#include <QString>

namespace grid {

class ListDocument;

class ListFileReader {
public:
    // The most rows a document may declare; the windows themselves stop at 65,001.
    static constexpr int MaxRows = 1048576;
    // The password text of a file that has none of its own.
    static constexpr const char* DefaultPassword = "p&z7";

    // Fills `document` from the bytes. On failure `document` is left as it was and the
    // result names `path` in its message.
    static platform::FileResult read(const QByteArray& bytes, ListDocument& document,
                                     const QString& path);
    // The same from the file, read a block at a time: its bytes never stand whole in memory.
    static platform::FileResult readFile(const QString& path, ListDocument& document);

    // The bytes being read, a block at a time.
    class Feed;

private:
    static platform::FileResult readFrom(Feed& feed, ListDocument& document, const QString& path);
};

} // namespace grid
