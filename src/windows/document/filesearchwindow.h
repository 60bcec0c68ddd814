#pragma once
// How the document windows and the file search window reach each other. The file search
// window implements FileSearchWindow, which the document windows are given at construction
// (their search and list buttons, their New and their recent-file record use it); each of the
// item groups, contact companies and transactions windows implements FoundFileTarget, which
// the file search window calls when the user opens a found file while ActiveList names that
// window. The shell's window registry hands both out.

#include <QString>
#include <functional>

namespace windows {

class FileSearchWindow {
public:
    virtual ~FileSearchWindow() = default;

    // Whether the window is shown.
    virtual bool Visible() const = 0;

    // Closes the window as its close box does: a running search ends, the placement is
    // stored unless the window is in a listing, and its results are discarded, so the next
    // use starts afresh.
    virtual void Unload() = 0;

    // The drive search (cmdFindFiles): with ActiveList already naming the calling window, a
    // visible search window is unloaded and opened again captioned "Search", with its search
    // controls, at the stored placement (at least 4800 twips wide); its results stay as they
    // were until the user presses Find.
    virtual void showDriveSearch() = 0;

    // The listing (cmdList), after the caller's own network checks and with ActiveList
    // already naming it: a visible search window is unloaded and opened again at the stored
    // placement in the listing of that kind (its caption, its total label, no search
    // controls), and every file of the kind in the folder and its sub-folders is listed. It
    // returns at once; `listed` runs once when the listing has ended, whether it went to its
    // end, was stopped by an open from the list, or the window was closed meanwhile. That is
    // when the caller docks the window (dockLeft) and moves itself beside it.
    virtual void showListing(const QString& folder, std::function<void()> listed) = 0;

    // Docks the window at the left edge: Left 0, the given Top and Height and a width of
    // 3000 twips, each step passed over while the window is minimised or maximised. Returns
    // the window's width in twips afterwards, where the caller puts its own Left.
    virtual int dockLeft(int topTwips, int heightTwips) = 0;

    // Status.ToolTipText: the name of the file this window is opening, during
    // FoundFileTarget::openFoundFile only, and "" otherwise. PISEFILEADRES takes its title
    // from here while this window is visible.
    virtual QString StatusToolTipText() const = 0;

    // NEWLIST calls this when the user answers Cancel to "Save Changes?" while this window
    // is visible. It stops the open from this window that called NEWLIST; outside such an
    // open (New pressed in the document window itself) it does nothing and nothing is kept
    // for a later open.
    virtual void cancelOpen() = 0;
};

class FoundFileTarget {
public:
    virtual ~FoundFileTarget() = default;

    // The window's NEWLIST, as its New button runs it: "Save Changes?" for unsaved changes
    // (Cancel calls FileSearchWindow::cancelOpen while the search window is visible, Yes
    // saves and keeps the document, No or no changes clears to a new document).
    virtual void NEWLIST() = 0;

    // Opens the found document at path through the window's own Open, from the point where
    // its dialog has given the path, with every rule that Open applies to the document: the
    // network folder check, the network-user rule, the lock lookup (another machine's lock
    // gives its message and a read-only open, and is never overwritten), its own lock only
    // where Open would write one, the read-only file test, the recent-file record through
    // PISEFILEADRES (which takes the title from StatusToolTipText), and for a transaction
    // its header file beside it. It asks no "Save Changes?": NEWLIST has run just before.
    virtual void openFoundFile(const QString& path) = 0;
};

} // namespace windows
