#include "shell/programwindows.h"

#include "platform/prompts.h"
#include "shell/formnames.h"
#include "shell/frmfilesearch.h"
#include "shell/frmmain.h"
#include "shell/launchedwindow.h"
#include "shell/program.h"
#include "shell/programwindow.h"
#include "windows/contacts/frmcontacts.h"
#include "windows/document/documentsidewindow.h"
#include "windows/document/paymententry.h"
#include "windows/document/postedcompanyfileview.h"
#include "windows/document/settingswindow.h"
#include "windows/items/frmitems.h"
#include "windows/payments/frmpayments.h"
#include "windows/transactions/frmtransactions.h"

namespace shell {

namespace {

// A document window in the registry: the grid's window, the progress bar of its spreadsheet
// commands, and the launcher's steps.
class DocumentEntry final : public RegisteredForm<windows::DocumentWindow>, public LaunchedWindow {
public:
    using RegisteredForm::RegisteredForm;

    // The program is ending: a document saved at "Save Changes?" lets its window go.
    bool closeForShutDown() override
    {
        return window().closeForShutDown() == windows::CloseOutcome::Closed;
    }
    grid::GridWindow* gridWindow() override { return &window(); }
    grid::ProgressDisplay* ProgressBar1() override { return window().progressDisplay(); }
    LaunchedWindow* launched() override { return this; }

    void setBarMenus(bool toolbarChecked, bool textbarChecked) override
    {
        window().setBarChecks(toolbarChecked, textbarChecked);
    }
    void showCheckedBars() override { window().showCheckedBars(); }
    void Reposition() override { window().Reposition(); }
    void setRecentFileCaption(int slot, const QString& caption) override
    {
        window().setRecentFileCaption(slot, caption);
    }
    void showRecentFileMenu(int slot) override { window().showRecentFileMenu(slot); }
};

} // namespace

// What the windows keep pointers to, each finding its window in the registry when used.
class ProgramWindows::GoBetweens {
public:
    explicit GoBetweens(ProgramWindows& windows)
        : items([&windows](bool make) { return windows.document(FormName::Items, make); }),
          contacts([&windows](bool make) { return windows.document(FormName::Contacts, make); }),
          payments(windows.m_program), postedFiles(windows), fileSearch(windows.m_program), settings(windows.m_program)
    {
    }

    struct Payments final : windows::PaymentEntry {
        explicit Payments(Program& p) : program(p) {}
        void enterPayment(const QString& transactionPath) override
        {
            if (ProgramWindow* entry = program.windows().get(FormName::Payments))
                static_cast<windows::frmPayments&>(entry->form()).enterPayment(transactionPath);
        }
        Program& program;
    };

    struct PostedFiles final : windows::PostedCompanyFileView {
        explicit PostedFiles(ProgramWindows& w) : windows(w) {}
        windows::ControlPlace showPostedCompanyFile(const QString& path) override
        {
            auto* contacts = dynamic_cast<windows::frmContacts*>(windows.document(FormName::Contacts, true));
            return contacts ? contacts->showPostedCompanyFile(path) : windows::ControlPlace{};
        }
        ProgramWindows& windows;
    };

    struct FileSearch final : windows::FileSearchWindow {
        explicit FileSearch(Program& p) : program(p) {}
        frmFileSearch* find() const
        {
            ProgramWindow* entry = program.windows().find(FormName::FileSearch);
            return entry ? static_cast<frmFileSearch*>(&entry->form()) : nullptr;
        }
        frmFileSearch* made() const
        {
            ProgramWindow* entry = program.windows().get(FormName::FileSearch);
            return entry ? static_cast<frmFileSearch*>(&entry->form()) : nullptr;
        }
        bool Visible() const override
        {
            const frmFileSearch* window = find();
            return window && window->Visible();
        }
        void Unload() override
        {
            if (frmFileSearch* window = find())
                window->Unload();
        }
        void showDriveSearch() override
        {
            if (frmFileSearch* window = made())
                window->showDriveSearch();
        }
        void showListing(const QString& folder, std::function<void()> listed) override
        {
            if (frmFileSearch* window = made())
                window->showListing(folder, std::move(listed));
            else if (listed)
                listed();
        }
        int dockLeft(int topTwips, int heightTwips) override
        {
            frmFileSearch* window = find();
            return window ? window->dockLeft(topTwips, heightTwips) : 0;
        }
        QString StatusToolTipText() const override
        {
            const frmFileSearch* window = find();
            return window ? window->StatusToolTipText() : QString();
        }
        void cancelOpen() override
        {
            if (frmFileSearch* window = find())
                window->cancelOpen();
        }
        Program& program;
    };

    struct Settings final : windows::SettingsWindow {
        explicit Settings(Program& p) : program(p) {}
        void PROVERICOMANYINFO() override { program.PROVERICOMANYINFO(); }
        void showSettingsWindow() override { program.showSettingsWindow(); }
        Program& program;
    };

    windows::DocumentSideWindow items;
    windows::DocumentSideWindow contacts;
    Payments payments;
    PostedFiles postedFiles;
    FileSearch fileSearch;
    Settings settings;
};

ProgramWindows::ProgramWindows(Program& program)
    : m_program(program), m_goBetweens(std::make_unique<GoBetweens>(*this))
{
}

ProgramWindows::~ProgramWindows() = default;

windows::DocumentContext ProgramWindows::context(platform::CommonDialog& dialog)
{
    windows::DocumentContext c{m_program.store(), dialog, platform::prompts()};
    c.gridHost = &m_program;
    c.shell = this;
    c.fileSearch = &m_goBetweens->fileSearch;
    c.formTemplatePicker = &m_program;
    return c;
}

// A document window that unloads itself (its close box, Close, Back, a posting closing it)
// has discarded or saved its document: the registry forgets it, so the next use makes a
// fresh window rather than showing the unloaded one with what it held.
std::unique_ptr<ProgramWindow> ProgramWindows::registered(const QString& name, windows::DocumentWindow* window)
{
    QObject::connect(window, &windows::DocumentWindow::unloaded, window,
                     [this, name] { m_program.windows().forget(name); });
    return std::make_unique<DocumentEntry>(window);
}

void ProgramWindows::registerAll()
{
    WindowRegistry& registry = m_program.windows();
    frmMain& main = m_program.startupWindow();
    registry.add(FormName::Items, [this, &main] {
        return registered(FormName::Items, new windows::frmItems(context(main.CommonDialog1)));
    });
    registry.add(FormName::Contacts, [this, &main] {
        return registered(FormName::Contacts, new windows::frmContacts(context(main.CommonDialog2)));
    });
    registry.add(FormName::Transactions, [this, &main] {
        windows::TransactionPartners partners;
        partners.settings = &m_goBetweens->settings;
        partners.items = &m_goBetweens->items;
        partners.contacts = &m_goBetweens->contacts;
        partners.payments = &m_goBetweens->payments;
        partners.formSettings = &m_program;
        return registered(FormName::Transactions, new windows::frmTransactions(context(main.CommonDialog3), partners));
    });
    registry.add(FormName::Payments, [this, &main] {
        const windows::PaymentsContext c{m_program.store(), main.CommonDialog4, platform::prompts(),
                                         &m_goBetweens->postedFiles, &m_program};
        return std::make_unique<RegisteredForm<windows::frmPayments>>(new windows::frmPayments(c));
    });
    registry.add(FormName::FileSearch,
                 [this] { return std::make_unique<RegisteredForm<frmFileSearch>>(new frmFileSearch(*this)); });
}

windows::DocumentWindow* ProgramWindows::document(const QString& name, bool make)
{
    WindowRegistry& registry = m_program.windows();
    ProgramWindow* entry = make ? registry.get(name) : registry.find(name);
    return entry ? static_cast<windows::DocumentWindow*>(&entry->form()) : nullptr;
}

windows::frmTransactions* ProgramWindows::transactions()
{
    return static_cast<windows::frmTransactions*>(document(FormName::Transactions, true));
}

void ProgramWindows::showStartupWindow()
{
    m_program.showStartupWindow();
}

void ProgramWindows::unloadFileSearchIfVisible()
{
    if (m_goBetweens->fileSearch.Visible())
        m_goBetweens->fileSearch.Unload();
}

void ProgramWindows::PROVERICOMANYINFO()
{
    m_program.PROVERICOMANYINFO();
}

windows::TransactionLines* ProgramWindows::transactionLines()
{
    return transactions();
}

windows::TransactionParties* ProgramWindows::transactionParties()
{
    return transactions();
}

datafiles::SettingsStore& ProgramWindows::settings()
{
    return m_program.store();
}

windows::FoundFileTarget* ProgramWindows::documentWindow(const QString& name)
{
    if (name != FormName::Items && name != FormName::Contacts && name != FormName::Transactions)
        return nullptr;
    windows::DocumentWindow* window = document(name, true);
    if (window && !window->isVisible())
        m_program.openDocumentWindow(name);
    return window;
}

} // namespace shell
