#pragma once
// The three kinds of document the file search window finds, keyed by the settings store's
// ActiveList: the pattern it searches for and the caption and counter label of its listing.

#include <QString>

namespace shell {

struct FileSearchKind {
    QString activeList;     // the document window's name, "frmItems"
    QString pattern;        // "*.QVI"
    QString listingCaption; // the window caption that marks the listing, "Item Groups"
    QString listingTotal;   // Label2 in the listing: blanks put the words on its second line
};

// The kind ActiveList names; nullptr for any other value ("frmPayments", "").
const FileSearchKind* fileSearchKind(const QString& activeList);

// Whether the caption is one of the three listing captions (exact comparison): the window
// is then docked beside its document window and keeps its placement out of the settings.
bool isListingCaption(const QString& caption);

} // namespace shell
