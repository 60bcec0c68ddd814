#pragma once
// The contact companies window opened from the launcher in a temporary program folder with
// scripted prompts, beside a stand-in for the transactions window that records what it is
// handed; with contact company files written behind the window's back, as the program and
// its postings write them.

#include "windows/contacts/frmcontacts.h"

#include "grid/documents/documentlist.h"
#include "grid/documents/gridfile.h"
#include "grid/gridcore.h"
#include "grid/gridhost.h"
#include "platform/safefile.h"
#include "posting/companyfile.h"
#include "services/editlockfile.h"
#include "services/formtemplatepicker.h"
#include "support/qtprinters.h"
#include "support/scopedprompts.h"
#include "support/tempprogramfolder.h"
#include "windows/document/testprogram.h"
#include "windows/document/windowprobes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <gtest/gtest.h>
#include <map>
#include <utility>
#include <vector>

namespace contactstest {

using windowtest::cellOnDisk;

// The transactions window as far as the contact window sees it: shown or hidden, where it
// was shown, and the parties it was given.
class TransactionStandIn : public windows::TransactionParties, public grid::GridWindow {
public:
    bool shown = false;
    testsupport::CheckedList<QString> calls; // "show at <left>, <top>" and "From <row> <name>" / "To <row> <name>", in order
    std::map<windows::PartySide, windows::ContactParty> parties;

    bool Visible() const override { return shown; }
    void showAt(int leftTwips, int topTwips) override
    {
        shown = true;
        calls << QStringLiteral("show at %1, %2").arg(leftTwips).arg(topTwips);
    }
    void takeContact(windows::PartySide side, const windows::ContactParty& party) override
    {
        parties[side] = party;
        calls << (side == windows::PartySide::From ? QStringLiteral("From ") : QStringLiteral("To ")) + party.row
                    + QLatin1Char(' ') + party.contact;
    }

    // grid::GridWindow: the grid only asks whether it is shown.
    void DODARED() override {}
    void setActiveColumn(const QString&) override {}
    void showCell(const QString&, bool, bool, bool, uint32_t) override {}
    grid::GridSelection* gridSelection() override { return nullptr; }
};

// The program with its transactions window, and its settings window's company check and
// form template picker.
class ContactsProgram : public windowtest::TestProgram, public services::FormTemplatePicker {
public:
    TransactionStandIn transactions;
    // The kinds whose template picker the settings window was asked to bring up, in order.
    std::vector<services::FormKind> pickedTemplates;

    void pickFormTemplate(services::FormKind kind) override { pickedTemplates.push_back(kind); }
    windows::DocumentContext contactsContext(platform::Prompts& prompts)
    {
        windows::DocumentContext c = context(CommonDialog2, prompts);
        c.formTemplatePicker = this;
        return c;
    }

    grid::GridWindow* window(const QString& name) override
    {
        if (name == grid::GridHost::Transactions)
            return &transactions;
        return TestProgram::window(name);
    }
    void PROVERICOMANYINFO() override { shellCalls << QStringLiteral("company check"); }
    windows::TransactionParties* transactionParties() override { return &transactions; }
};

using Contacts = QList<std::pair<QString, QString>>; // name, balance; one row each

// Writes a contact company file as the window writes one: scrambled, the two default columns.
inline void writeCompany(const QString& path, const Contacts& contacts)
{
    grid::GridCore core;
    core.SetColumnHeader(1, QStringLiteral("Contact Name"));
    core.LetWidthColumn(1, 220);
    core.AddColumn(0, 60, QStringLiteral("Balance"));
    core.AddMoreThanOneRow(int(contacts.size()) - 1);
    for (int r = 0; r < contacts.size(); ++r) {
        core.ChangeItem(r + 1, 1, contacts[r].first);
        core.ChangeItem(r + 1, 2, contacts[r].second);
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    grid::GridFile file(core);
    ASSERT_TRUE(file.SaveFileAs(path, true)) << path.toStdString();
}

// A posting's change of one balance: the file read, the cell set and the file replaced, the
// way the posting writes company files.
inline void postBalance(const QString& path, int row, const QString& balance)
{
    posting::CompanyFile file;
    ASSERT_TRUE(file.open(path));
    file.setBalanceText(row, balance);
    ASSERT_TRUE(platform::writeFileAtomically(path, file.bytes()));
}

// A lock of another computer beside the document.
inline void putLock(const QString& document, const QByteArray& holder)
{
    QFile lock(services::EditLockFile::pathOf(document));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write(holder);
}

class ContactsWindow : public ::testing::Test {
protected:
    ContactsWindow()
    {
        program.documentWindow = &window;
        window.showFromLauncher();
    }

    QString contacts(const QString& name) const
    {
        return folder.path() + QStringLiteral("/System/RAzar/Contacts/") + name;
    }
    // A company of five contacts, opened through the Open dialog.
    QString openClients()
    {
        const QString path = contacts(QStringLiteral("Clients.QVC"));
        writeCompany(path, {{"Adria Tours", "120"},
                            {"Brankar Timber", "-45.5"},
                            {"Lepko", "0"},
                            {"", ""},
                            {"Okov d.o.o.", "310"}});
        prompts->queueOpen(path);
        window.cmdOpen_Click();
        return path;
    }

    testsupport::TempProgramFolder folder;
    testsupport::ScopedPrompts prompts;
    ContactsProgram program;
    windows::frmContacts window{program.contactsContext(prompts.script())};
};

} // namespace contactstest
