// The Password page of the settings window: setting, changing and removing the login
// password.

#include "datafiles/hostfile.h"
#include "datafiles/settingsfile.h"
#include "datafiles/settingsstore.h"
#include "platform/prompts.h"
#include "shell/frmbalance.h"

#include <QLineEdit>
#include <QPushButton>

namespace shell {

namespace {

const QString WarningTitle = QStringLiteral("Password Security Warning!");

void critical(const QString& text)
{
    platform::prompts().MsgBox(text, platform::MsgStyle::Critical);
}

bool askYes(const QString& question)
{
    return platform::prompts().MsgBox(question, platform::MsgStyle::YesNo, WarningTitle) == platform::Answer::Yes;
}

} // namespace

void frmBalance::cmdSavePassword_Click()
{
    if (OldPassword->text() != m_store.CURRENTPASSWORD.value()) {
        critical(QStringLiteral("Your Old Password is not correct"));
        OldPassword->setFocus();
        return;
    }
    if (NewPassword->text() != ConfirmNewPassword->text()) {
        critical(QStringLiteral("Your New Password is not confirmed "));
        ConfirmNewPassword->setFocus();
        return;
    }
    if (NewPassword->text().isEmpty() && !askYes(QStringLiteral("Your New Password is empty. Turn off password security ?"))) {
        NewPassword->setFocus();
        return;
    }
    SAVENEWPASSWORDNOW();
}

void frmBalance::cmdPasswordON_Click()
{
    if (OldPassword->text() != m_store.CURRENTPASSWORD.value()) {
        critical(QStringLiteral("Your Old Password is not correct"));
        OldPassword->setFocus();
        return;
    }
    if (!askYes(QStringLiteral("Turn off password security ?")))
        return;
    NewPassword->clear();
    SAVENEWPASSWORDNOW();
}

void frmBalance::SAVENEWPASSWORDNOW()
{
    if (!storeNewPassword())
        return;
    platform::prompts().MsgBox(QStringLiteral("New Password was successfully saved"), platform::MsgStyle::Information);
    ShowSecurityState();
    OldPassword->clear();
    NewPassword->clear();
    ConfirmNewPassword->clear();
}

// The new password takes effect only once it is stored: in the host file when this host's
// users log in with it, and in the settings file. A write that fails has been reported by its
// writer, naming the file; the old password then stays in force, in the store and in the
// files, and the boxes keep what the user typed. A host that may not write its host file at
// all has gone back to single-machine mode (so its users no longer depend on it) and keeps
// the new password for itself.
bool frmBalance::storeNewPassword()
{
    const QString previous = m_store.CURRENTPASSWORD.value();
    m_store.CURRENTPASSWORD = NewPassword->text();
    bool hostFileWritten = false;
    if (m_store.CheckUseMyPassword.Value.value() == 1 && m_store.OptionHost.value()
        && !m_store.MyHostName.value().isEmpty()) {
        hostFileWritten = datafiles::WriteHostFile(m_store);
        if (!hostFileWritten && m_store.OptionHost.value()) {
            m_store.CURRENTPASSWORD = previous;
            return false;
        }
    }
    if (datafiles::SaveSettingsFile(m_store))
        return true;
    m_store.CURRENTPASSWORD = previous;
    if (hostFileWritten)
        (void)datafiles::WriteHostFile(m_store);
    return false;
}

void frmBalance::ShowSecurityState()
{
    // A network user logs in with the host's password, which only the host changes.
    if (m_store.OptionUser.value()) {
        cmdSavePassword->setVisible(false);
        cmdPasswordON->setVisible(false);
    }
    PROVERICOMANYINFO();
    if (!m_store.CURRENTPASSWORD.value().isEmpty()) {
        cmdPasswordON->setText(QStringLiteral("Security ON"));
        return;
    }
    cmdPasswordON->setText(QStringLiteral("Security OFF"));
    platform::prompts().MsgBox(QStringLiteral("Password security is OFF..."), platform::MsgStyle::Information);
}

} // namespace shell
