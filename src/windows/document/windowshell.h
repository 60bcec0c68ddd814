#pragma once
// What a document window asks of the program around it: showing the start-up window again,
// closing the file search window when it is shown, the settings window's check of the own
// company's details, the transactions window that items are transferred into and that
// contacts are handed to. The program's window registry implements it; a document window
// never includes another window or the shell.

namespace windows {

class TransactionLines;
class TransactionParties;

class WindowShell {
public:
    virtual ~WindowShell() = default;

    // Makes the start-up window visible (frmMain.Show).
    virtual void showStartupWindow() = 0;
    // Unloads the file search window when it is visible; does nothing otherwise.
    virtual void unloadFileSearchIfVisible() = 0;

    // The settings window's company check (PROVERICOMANYINFO): when the own company's
    // details are incomplete it tells the user, hides the document windows and brings the
    // settings window up on its Company tab. A program without a settings window checks
    // nothing.
    virtual void PROVERICOMANYINFO() {}

    // The transactions window as the item transfer writes into it, created (hidden) on first
    // use; nullptr in a program that has none.
    virtual TransactionLines* transactionLines() { return nullptr; }

    // The transactions window as the contact hand-off writes its parties, created (hidden)
    // on first use; nullptr in a program that has none.
    virtual TransactionParties* transactionParties() { return nullptr; }
};

} // namespace windows
