// Runs the program in a program folder of its own, on the display it is started on, with the
// application's default font and style, and saves four pictures into the folder given:
// login.png, the start-up window asking for the password; items-find.png, the item groups
// window with its Find frame open; contacts-transfer.png, the contact companies window with its
// hand-off frame for a selected contact; login-wait.png, the login asked for again during the
// run, waiting after five wrong passwords while an unsaved item group keeps the program
// running. A wrong password is answered with Retry, "Save Changes?" with Cancel, every other
// message with OK.
// Usage: captionshot <folder>

#include "datafiles/datafoldertree.h"
#include "datafiles/settingsfile.h"
#include "datafiles/settingsstore.h"
#include "grid/documents/documentlist.h"
#include "platform/commondialog.h"
#include "platform/programfolder.h"
#include "platform/prompts.h"
#include "shell/formnames.h"
#include "shell/frmmain.h"
#include "shell/program.h"
#include "shell/programwindow.h"
#include "windows/contacts/frmcontacts.h"
#include "windows/document/documentwindow.h"

#include "runningprogram.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <cstdio>

namespace {

// The user tries the password again, keeps unsaved work, answers every other message with OK
// and chooses no file.
class AnsweringOk : public platform::Prompts {
public:
    platform::Answer MsgBox(const QString& text, int, const QString&) override
    {
        if (text == QStringLiteral("Your Password is not valid!"))
            return platform::Answer::Retry;
        if (text == QStringLiteral("Save Changes?"))
            return platform::Answer::Cancel;
        return platform::Answer::OK;
    }
    QString InputBox(const QString&, const QString&, const QString&) override { return QString(); }
    bool ShowOpen(platform::CommonDialog&) override { return false; }
    bool ShowSave(platform::CommonDialog&) override { return false; }
    bool ShowColor(platform::CommonDialog&) override { return false; }
};

bool save(QWidget& window, const QString& folder, const char* name)
{
    windowshot::settle();
    const QString path = folder + QLatin1Char('/') + QString::fromLatin1(name);
    if (!window.grab().save(path, "PNG")) {
        std::fprintf(stderr, "captionshot: %s could not be written\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: captionshot <folder>\n");
        return 2;
    }
    const QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(out);
    QTemporaryDir programFolder;
    platform::setProgramFolder(programFolder.path());
    AnsweringOk answers;
    platform::setPrompts(&answers);

    // A settings file as a protected machine keeps it: the company's details and a password.
    datafiles::CreateDataFolders();
    {
        datafiles::SettingsStore s;
        windowshot::setSampleCompany(s);
        s.CURRENTPASSWORD = QStringLiteral("abc");
        if (!datafiles::SaveSettingsFile(s))
            return 1;
    }

    int status = 0;
    {
        shell::Program program([] {});
        program.start();
        if (!windowshot::runUntil([&] { return program.startupProbeDone(); })) {
            std::fprintf(stderr, "captionshot: the program did not start\n");
            return 1;
        }
        shell::frmMain& main = program.startupWindow();
        if (!save(main, out, "login.png"))
            status = 1;

        main.txtpassword->setText(QStringLiteral("abc"));
        QMetaObject::invokeMethod(main.txtpassword, "returnPressed");
        windowshot::settle();

        program.openDocumentWindow(shell::FormName::Items);
        windows::DocumentWindow* items = nullptr;
        if (shell::ProgramWindow* entry = program.windows().find(shell::FormName::Items)) {
            items = static_cast<windows::DocumentWindow*>(&entry->form());
            items->cmdFind_Click();
            if (!save(*items, out, "items-find.png"))
                status = 1;
        } else {
            status = 1;
        }

        program.openDocumentWindow(shell::FormName::Contacts);
        if (shell::ProgramWindow* entry = program.windows().find(shell::FormName::Contacts)) {
            auto& contacts = static_cast<windows::frmContacts&>(entry->form());
            contacts.setSelectedContacts(QStringLiteral("Brankar Timber"));
            contacts.showTransferItems();
            if (!save(contacts, out, "contacts-transfer.png"))
                status = 1;
        } else {
            status = 1;
        }
        // A group typed and not saved, then the login asked for again (as a host does that
        // turns its protection on) and five wrong passwords: the prompt waits.
        if (items) {
            items->List1().ChangeItem(1, 1, QStringLiteral("Oak board"));
            emit items->List1().GridKeyDown(65, 0, 1, 1);
        }
        program.SHOWPASSWORD();
        for (int attempt = 0; attempt < 5; ++attempt) {
            main.txtpassword->setText(QStringLiteral("guess"));
            QMetaObject::invokeMethod(main.txtpassword, "returnPressed");
        }
        if (!items || main.txtpassword->isEnabled() || !save(main, out, "login-wait.png"))
            status = 1;
        program.endNow();
    }
    platform::setPrompts(nullptr);
    platform::setProgramFolder(QString());
    return status;
}
