#pragma once
// The settings window: it shows the one settings store on five pages and stays loaded from
// the start-up to the end of the program, hidden when the user closes it. Its load step, run
// when the start-up window first touches the settings, makes the data folder tree and loads
// the settings file; the spreadsheet probe of the same start-up (ExcelTest) runs once the
// start-up window is on the screen.

#include <QWidget>

class QLabel;
class QPushButton;
class QTabWidget;

namespace datafiles {
class SettingsStore;
}

namespace shell {

class frmBalance : public QWidget {
    Q_OBJECT
public:
    explicit frmBalance(datafiles::SettingsStore& store, QWidget* parent = nullptr);

    // The window's pages: 0 "Balance", 1 "Company", 2 "Password", 3 "Forms", 4 "Network".
    QTabWidget* SSTab1;
    // The close button "X": hides the window.
    QPushButton* closeButton;
    // The spreadsheet probe's result, not visible.
    QLabel* lblEXCELSTATUS;

    // The load step: the data folder tree, then the settings file.
    void Form_Load();

    // Whether the spreadsheet program can be started. "RADI" when it can; otherwise "NERADI",
    // the message, and "System/Temp/Temp.tmp" holding "ERROR".
    void ExcelTest();

    // Falls back to single-machine mode.
    void NemaNetwork();
    // This computer's name and this user's name into the store.
    void UPISEPCNAME();
    void SaznaUserName();

    // In host or user mode: refreshes the shared values from the host file when a host data
    // folder can be reached, otherwise tells the user and falls back to single-machine mode.
    void refreshSharedValues();

    // Presses the Forms page's Transaction button, which picks the transaction form.
    void pressTransaction();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    datafiles::SettingsStore& m_store;
};

} // namespace shell
