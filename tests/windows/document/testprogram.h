#pragma once
// One program's worth of what a document window is given, for window tests: a settings
// store that names this computer as the test says, the start-up window's three document
// dialogs, a window registry that hands the grid its window and records what the windows
// ask of the shell, a stand-in file search window and a recorded sound. Several can live in
// one process, as the programs of several computers sharing one data folder.

#include "datafiles/settingsstore.h"
#include "grid/documents/exchangehost.h"
#include "platform/commondialog.h"
#include "platform/prompts.h"
#include "support/checkedlist.h"
#include "windows/document/documentwindow.h"
#include "windows/document/filesearchwindow.h"
#include "windows/document/windowshell.h"

#include <QDir>
#include <QStringList>
#include <functional>
#include <memory>

namespace windowtest {

// The file search window as the document windows see it: it records what they ask of it and
// answers as the test sets it up. A listing ends when the test calls finishListing.
class StandInFileSearch : public windows::FileSearchWindow {
public:
    bool visible = false;
    QString handedOver;          // StatusToolTipText
    int dockedWidth = 3000;      // what dockLeft answers
    testsupport::CheckedList<QString> calls;           // "drive search", "listing <folder>", "dock <top> <height>", "cancel open", "unload"
    std::function<void()> listed;

    bool Visible() const override { return visible; }
    void Unload() override
    {
        calls << QStringLiteral("unload");
        visible = false;
    }
    void showDriveSearch() override
    {
        calls << QStringLiteral("drive search");
        visible = true;
    }
    void showListing(const QString& folder, std::function<void()> whenListed) override
    {
        calls << QStringLiteral("listing ") + folder;
        visible = true;
        listed = std::move(whenListed);
    }
    int dockLeft(int topTwips, int heightTwips) override
    {
        calls << QStringLiteral("dock %1 %2").arg(topTwips).arg(heightTwips);
        return dockedWidth;
    }
    QString StatusToolTipText() const override { return handedOver; }
    void cancelOpen() override { calls << QStringLiteral("cancel open"); }

    void finishListing()
    {
        if (auto whenListed = std::exchange(listed, nullptr))
            whenListed();
    }
};

class TestProgram : public grid::ExchangeHost, public windows::WindowShell, public datafiles::ShellHooks {
public:
    explicit TestProgram(QString computer = QStringLiteral("PC-ANNA")) : computer(std::move(computer))
    {
        store.setShell(this);
        store.lblEXCELSTATUS = QStringLiteral("RADI");
    }
    ~TestProgram() override { store.setShell(nullptr); }
    TestProgram(const TestProgram&) = delete;
    TestProgram& operator=(const TestProgram&) = delete;

    datafiles::SettingsStore store;
    // CommonDialog1 to CommonDialog3 of the start-up window.
    platform::CommonDialog CommonDialog1, CommonDialog2, CommonDialog3;
    QString computer;
    // What the windows asked of the shell, in order: "show start-up", "unload search".
    QStringList shellCalls;
    // Runs once, at the next time a window asks for this computer's name (the moment an open
    // compares the lock it read with this computer's name).
    std::function<void()> onNextComputerName;
    // The document window the registry hands out, when one is open.
    windows::DocumentWindow* documentWindow = nullptr;
    StandInFileSearch search;
    // The sound files the windows played, in order.
    testsupport::CheckedList<QString> sounds;

    windows::DocumentContext context(platform::CommonDialog& dialog, platform::Prompts& prompts)
    {
        return {store, dialog, prompts, this, this, &search, [this](const QString& wav) { sounds << wav; }};
    }

    // Host mode on a shared folder, whose documents lie in "QVNET/RAzar/<kind folder>".
    void beHost(const QString& sharedFolder)
    {
        store.MyHostSystem = sharedFolder + QLatin1Char('/');
        store.OptionHost = true;
    }
    // User mode connected to a host's shared folder; mayWrite is the host's switch.
    void beUser(const QString& sharedFolder, bool mayWrite)
    {
        store.lblConnectedtohostsystem = sharedFolder + QLatin1Char('/');
        store.OptionUser = true;
        store.CheckReadWrite.Value = mayWrite ? 1 : 0;
    }

    // ---- ExchangeHost
    QString ActiveList() const override { return store.ActiveList.value(); }
    grid::GridWindow* window(const QString& name) override
    {
        return documentWindow && documentWindow->kind().formName == name ? documentWindow : nullptr;
    }
    QString lblEXCELSTATUS() const override { return store.lblEXCELSTATUS.value(); }
    QString PrintExcelFile() const override { return store.PrintExcelFile.value(); }
    void setPrintExcelFile(const QString& caption) override { store.PrintExcelFile = caption; }
    grid::ProgressDisplay* ProgressBar1(const QString& formName) override
    {
        return documentWindow && documentWindow->kind().formName == formName ? documentWindow->progressDisplay()
                                                                              : nullptr;
    }

    // ---- WindowShell (its showStartupWindow is also the data files' one)
    void showStartupWindow() override { shellCalls << QStringLiteral("show start-up"); }
    void unloadFileSearchIfVisible() override { shellCalls << QStringLiteral("unload search"); }
    void PROVERICOMANYINFO() override { shellCalls << QStringLiteral("company check"); }
    windows::TransactionLines* transactionLines() override { return transactions; }
    // The transactions window the item transfer writes into, when the test gives one.
    windows::TransactionLines* transactions = nullptr;

    // ---- ShellHooks
    void NemaNetwork() override { store.selectSingleMachineMode(); }
    void UPISEPCNAME() override
    {
        if (auto once = std::exchange(onNextComputerName, nullptr))
            once();
        store.lblComputerName = computer;
    }
    void SaznaUserName() override { store.lblUserName = QStringLiteral("anna"); }
    void SHOWPASSWORD() override {}
    void hideSettingsWindow() override {}
    void showWelcome() override {}
    bool settingsWindowVisible() const override { return false; }
    int settingsSelectedTab() const override { return 0; }
};

} // namespace windowtest
