#pragma once
// What the transactions window asks of the item groups and contact companies windows: it
// brings one up docked at the left of the screen to pick items or a party, closes them before
// it posts, asks whether the item groups window is shown, and has the contact companies
// window show a party's company file once a posting has written it. The program's window
// registry hands out one for each (DocumentSideWindow serves both); the transactions window
// never includes them.

#include "windows/document/documentwindow.h"

#include <QPoint>
#include <QString>

namespace windows {

class SideWindow {
public:
    virtual ~SideWindow() = default;

    // Whether the window has been made and is shown.
    virtual bool Visible() const = 0;
    // Closes it as its close box does, with its own "Save Changes?"; Closed also when it was
    // not open.
    virtual CloseOutcome closeWindow() = 0;
    // Shows it, made on first use, in front.
    virtual void Show() = 0;
    // Its New and Open buttons.
    virtual void cmdNew_Click() = 0;
    virtual void cmdOpen_Click() = 0;
    // Docks it at the top left of the screen: normal state, Left 0, Top 0, 5220 twips wide,
    // its height unchanged. Returns its right edge (Left + Width) and its Top, in twips,
    // where the caller puts its own Left and Top.
    virtual QPoint dockTopLeft() = 0;
    // Shows a document another window has just written as its open document, read from
    // disk, after its own "Save Changes?" for unsaved changes.
    virtual void showWrittenDocument(const QString& path) = 0;
};

} // namespace windows
