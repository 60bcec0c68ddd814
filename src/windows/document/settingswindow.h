#pragma once
// What a document window asks of the settings window: the check that the own company's
// details are filled in, and bringing the window up. The program's window registry
// implements it; a document window never includes the settings window.

namespace windows {

class SettingsWindow {
public:
    virtual ~SettingsWindow() = default;

    // PROVERICOMANYINFO: while a detail of the own company is empty, names the first empty
    // one in a message, brings the settings window up at that field and hides the document
    // windows; does nothing when all are filled.
    virtual void PROVERICOMANYINFO() = 0;
    // Brings the settings window up, not modal (hidden and shown again, so it comes to the
    // front).
    virtual void showSettingsWindow() = 0;
};

} // namespace windows
