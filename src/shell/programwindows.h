#pragma once
// The windows the launcher and the other windows open: the item groups, contact companies,
// transactions and payments windows and the file search window. Each is registered with the
// program's window registry, made on first use and forgotten when it closes.
//
// This is also how those windows reach one another and the program: the program's side of
// WindowShell and FileSearchHost, and small go-betweens for what a window keeps a pointer to
// (the other document windows, the payments window, the file search window, the settings
// window). A go-between looks the window up in the registry each time it is used, making it
// where the use needs it, so a window that was closed and made again is never reached
// through a pointer to the one that is gone.

#include "shell/filesearchhost.h"
#include "windows/document/documentcontext.h"
#include "windows/document/windowshell.h"

#include <memory>

namespace platform {
struct CommonDialog;
}
namespace windows {
class DocumentWindow;
class frmTransactions;
}

namespace shell {

class Program;
class ProgramWindow;

class ProgramWindows final : public windows::WindowShell, public FileSearchHost {
public:
    explicit ProgramWindows(Program& program);
    ~ProgramWindows() override;
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    // Adds the factories of the five windows to the program's registry.
    void registerAll();

    // windows::WindowShell
    void showStartupWindow() override;
    void unloadFileSearchIfVisible() override;
    void PROVERICOMANYINFO() override;
    windows::TransactionLines* transactionLines() override;
    windows::TransactionParties* transactionParties() override;

    // FileSearchHost
    datafiles::SettingsStore& settings() override;
    windows::FoundFileTarget* documentWindow(const QString& name) override;

private:
    class GoBetweens;

    windows::DocumentContext context(platform::CommonDialog& dialog);
    std::unique_ptr<ProgramWindow> registered(const QString& name, windows::DocumentWindow* window);
    // The document window of that name; made (hidden) when `make` holds and it is not loaded.
    windows::DocumentWindow* document(const QString& name, bool make);
    windows::frmTransactions* transactions();

    Program& m_program;
    std::unique_ptr<GoBetweens> m_goBetweens;
};

} // namespace shell
