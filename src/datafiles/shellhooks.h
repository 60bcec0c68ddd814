#pragma once
// What the data files ask of the windows above them: the settings window's fall-back to
// single-machine mode and machine identity, the start-up window's login prompt and welcome
// frame, and whether the settings window is where the user can see a message. The shell
// implements it; without one the store uses a stand-in that only touches the store.

namespace datafiles {

class ShellHooks {
public:
    virtual ~ShellHooks() = default;

    // Falls back to single-machine mode (the settings window's NemaNetwork).
    virtual void NemaNetwork() = 0;
    // Puts this computer's name into the store's lblComputerName.
    virtual void UPISEPCNAME() = 0;
    // Puts this user's login name, or "Unknown", into the store's lblUserName.
    virtual void SaznaUserName() = 0;
    // Shows the start-up window's login prompt.
    virtual void SHOWPASSWORD() = 0;
    // Hides the settings window.
    virtual void hideSettingsWindow() = 0;
    // Shows the start-up window.
    virtual void showStartupWindow() = 0;
    // Makes the start-up window's welcome frame visible (first run).
    virtual void showWelcome() = 0;
    // Whether the settings window is visible, and which of its tabs (0 to 4) is selected.
    virtual bool settingsWindowVisible() const = 0;
    virtual int settingsSelectedTab() const = 0;
};

} // namespace datafiles
