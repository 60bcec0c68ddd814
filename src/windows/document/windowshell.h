#pragma once
// What a document window asks of the program around it: showing the start-up window again,
// and closing the file search window when it is shown. The program's window registry
// implements it; a document window never includes another window or the shell.

namespace windows {

class WindowShell {
public:
    virtual ~WindowShell() = default;

    // Makes the start-up window visible (frmMain.Show).
    virtual void showStartupWindow() = 0;
    // Unloads the file search window when it is visible; does nothing otherwise.
    virtual void unloadFileSearchIfVisible() = 0;
};

} // namespace windows
