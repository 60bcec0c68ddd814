#pragma once
// A stand-in for the windows above the data files: it records every call by name and does
// to the store what the real windows do (the fall-back to single-machine mode, this
// machine's names), with the names and the settings window's state chosen by the test.

#include "datafiles/settingsstore.h"
#include "datafiles/shellhooks.h"

#include <QString>
#include <QStringList>

namespace datafilestest {

class RecordingShell : public datafiles::ShellHooks {
public:
    explicit RecordingShell(datafiles::SettingsStore& store) : m_store(store) { store.setShell(this); }
    ~RecordingShell() override { m_store.setShell(nullptr); }

    QStringList calls;
    QString computerName = QStringLiteral("TESTPC");
    QString userName = QStringLiteral("tester");
    bool visible = false;
    int tab = 0;

    void NemaNetwork() override
    {
        calls << QStringLiteral("NemaNetwork");
        m_store.selectSingleMachineMode();
    }
    void UPISEPCNAME() override
    {
        calls << QStringLiteral("UPISEPCNAME");
        m_store.lblComputerName = computerName;
    }
    void SaznaUserName() override
    {
        calls << QStringLiteral("SaznaUserName");
        m_store.lblUserName = userName;
    }
    void SHOWPASSWORD() override { calls << QStringLiteral("SHOWPASSWORD"); }
    void hideSettingsWindow() override { calls << QStringLiteral("hideSettingsWindow"); }
    void showStartupWindow() override { calls << QStringLiteral("showStartupWindow"); }
    void showWelcome() override { calls << QStringLiteral("showWelcome"); }
    bool settingsWindowVisible() const override { return visible; }
    int settingsSelectedTab() const override { return tab; }

private:
    datafiles::SettingsStore& m_store;
};

} // namespace datafilestest
