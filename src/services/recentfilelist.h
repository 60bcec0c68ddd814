#pragma once
// The three recent documents of a document window, kept in three slots of the settings
// store: each slot's caption is the document's full path and its tooltip the title shown in
// the File menu. The slot written next carries the marker colour; slots are written in the
// order 1, 2, 3, 1 and so on, and a path that stands in one of the two other slots is not
// recorded again. The markers are not saved, so every run begins with slot 1.

#include "datafiles/storefield.h"

#include <QString>
#include <array>

namespace services {

class RecentFileList {
public:
    // The window's three slots, in order, and its document extension (".QVI").
    RecentFileList(std::array<datafiles::RecentFileSlot*, 3> slotFields, QString extension);

    // Records a document under a title, which gets the extension appended when its last
    // four characters are not the extension (letter case counts). Returns the slot written
    // (1 to 3), or 0 when the path stands in one of the other two slots (letter case counts)
    // or no slot carries the marker; then nothing changes.
    int record(const QString& path, const QString& title);

    // Empties slot k (1 to 3), path and title; its marker stays.
    void forget(int k);

    QString path(int k) const { return slot(k).Caption.value(); }
    QString title(int k) const { return slot(k).ToolTipText.value(); }
    // The slot the next record goes to, 0 when none carries the marker.
    int nextSlot() const;

private:
    datafiles::RecentFileSlot& slot(int k) const { return *m_slots[size_t(k - 1)]; }

    std::array<datafiles::RecentFileSlot*, 3> m_slots;
    QString m_extension;
};

} // namespace services
