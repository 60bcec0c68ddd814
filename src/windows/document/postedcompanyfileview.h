#pragma once
// How a window that has just posted to a contact's balance shows the contact company file it
// changed. The contact companies window implements it; the program's window registry hands
// it to the posting windows.

#include "windows/document/controlplace.h"

#include <QString>

namespace windows {

class PostedCompanyFileView {
public:
    virtual ~PostedCompanyFileView() = default;

    // Brings the contact companies window up docked at the left of the screen (normal state,
    // Left 0, Top 0, 5220 twips wide, its height kept) showing the company file at path as
    // it is on disk now, without losing unsaved work of its own. Returns where the window
    // stands then, in twips; the caller moves itself to its right (Left + Width) at its Top.
    virtual ControlPlace showPostedCompanyFile(const QString& path) = 0;
};

} // namespace windows
