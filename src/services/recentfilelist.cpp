#include "services/recentfilelist.h"

namespace services {

using datafiles::RecentFileSlot;

RecentFileList::RecentFileList(std::array<RecentFileSlot*, 3> slotFields, QString extension)
    : m_slots(slotFields), m_extension(std::move(extension))
{
}

int RecentFileList::nextSlot() const
{
    for (int k = 1; k <= 3; ++k)
        if (slot(k).BackColor.value() == RecentFileSlot::NextSlotColor)
            return k;
    return 0;
}

int RecentFileList::record(const QString& path, const QString& title)
{
    const int k = nextSlot();
    if (k == 0)
        return 0;
    for (int other = 1; other <= 3; ++other)
        if (other != k && slot(other).Caption.value() == path)
            return 0;
    slot(k).Caption = path;
    slot(k).ToolTipText = title.right(4) == m_extension ? title : title + m_extension;
    // Writing slot 3 marks slots 1 and 2 again; writing 1 or 2 moves the marker one on.
    for (int s = 1; s <= 3; ++s) {
        const bool written = k == 3 ? s == 3 : s <= k;
        slot(s).BackColor = written ? RecentFileSlot::WrittenSlotColor : RecentFileSlot::NextSlotColor;
    }
    return k;
}

void RecentFileList::forget(int k)
{
    slot(k).Caption = QString();
    slot(k).ToolTipText = QString();
}

} // namespace services
