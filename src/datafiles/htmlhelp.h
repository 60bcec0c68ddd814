#pragma once
// The help wrapper every window shows its help topic through: the help file, the viewer
// window and the topic page are set on the shared instance, then the topic is displayed.

#include <QString>

namespace datafiles {

// The topic pages of the help file, as the windows ask for them.
namespace HelpTopic {
inline const QString Welcome = QStringLiteral("Welcome.htm");
inline const QString StepbyStep = QStringLiteral("StepbyStep.htm");
inline const QString Items = QStringLiteral("Items.htm");
inline const QString Contacts = QStringLiteral("Contacts.htm");
inline const QString Transactions = QStringLiteral("Transactions.htm");
inline const QString Payments = QStringLiteral("Payments.htm");
inline const QString Balance = QStringLiteral("Balance.htm");
inline const QString Settings2 = QStringLiteral("Settings2.htm");
inline const QString Password = QStringLiteral("Password.htm");
inline const QString Forms = QStringLiteral("Forms.htm");
inline const QString Net = QStringLiteral("Net.htm");
} // namespace HelpTopic

// The wrapper has no member to remove an entry from a help window's system menu: that acts
// on the system menu of the Windows help viewer's window, which the help viewers of this
// platform do not have, and nothing in the program calls it.
class HTMLHelp {
public:
    // The one instance of the program, created on first use; its values stay set between
    // calls.
    static HTMLHelp& instance();

    // For 1, the program's help file: the program folder's "VURira.chm". "" otherwise.
    QString HHSetHelpFile(int intSelHelpFile) const;

    void CHMFile(const QString& vData) { m_chmFile = vData; }
    void HHWindow(const QString& vData) { m_window = vData; }
    void HHTopicURL(const QString& vData) { m_topicUrl = vData; }

    // Shows HHTopicURL of CHMFile in the viewer window HHWindow (none when HHWindow is
    // blank). CallingForm is not used: the viewer has no owner window. Silent on failure.
    void HHDisplayTopicURL(long CallingForm = 0);

    // Opens CHMFile at the help file's own first page: no topic, no viewer window.
    // CallingForm is not used. Silent on failure.
    void HHDisplayKeyword(long CallingForm = 0);

    // The sequence every window uses: help file 1, window "Main", the page, display.
    static void showTopic(const QString& page);

private:
    QString m_chmFile;
    QString m_window;
    QString m_topicUrl;
};

} // namespace datafiles
