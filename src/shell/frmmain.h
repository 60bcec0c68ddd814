#pragma once
// The start-up window "Main Menu": the first window of the program and the last to close.
// It is the launcher (five labels open the windows, three link labels open the help and two
// web pages), it holds the welcome frame and the login prompt that stand in front of the
// launcher, and the five file dialogs the other windows keep their documents' paths in.
// Closing it is the program's shut-down. Always 9090 by 6240 twips, never maximised.

#include "platform/commondialog.h"
#include "shell/loginwait.h"

#include <QWidget>
#include <cstdint>

class QLabel;
class QLineEdit;
class QTimer;

namespace shell {

class LauncherLabel;
class Program;
class WelcomeFrame;

class frmMain : public QWidget {
    Q_OBJECT
public:
    static constexpr uint32_t NormalColor = 14191;  // the labels' colour
    static constexpr uint32_t PointedColor = 65535; // while the pointer is on one
    static constexpr int WidthTwips = 9090;
    static constexpr int HeightTwips = 6240;

    explicit frmMain(Program& program);

    // The launcher.
    LauncherLabel* lblItems;
    LauncherLabel* lblContacts;
    LauncherLabel* lblTransactions;
    LauncherLabel* lblPayments;
    LauncherLabel* lblBalance;
    // The help picture and the three link labels it shows.
    LauncherLabel* imgHelp;
    LauncherLabel* HelpwithQV;
    LauncherLabel* QVWebpage;
    LauncherLabel* velkorncom;
    QLabel* lblVersion;

    WelcomeFrame* Welcome;

    // The login prompt.
    QLabel* lblPlease;
    QLineEdit* txtpassword;
    LauncherLabel* OKSecurity;
    LauncherLabel* CancelSecurity;
    LauncherLabel* ImageKey; // its tooltip holds FailedPasswordCount
    // Shown while the prompt waits before it takes another password (after the fifth wrong
    // one of a login kept open), with the time left; the password box and OK are disabled
    // then.
    QLabel* lblWait;

    // The file dialogs of the item groups, contact companies, transactions and payments
    // windows and of the settings window.
    platform::CommonDialog CommonDialog1;
    platform::CommonDialog CommonDialog2;
    platform::CommonDialog CommonDialog3;
    platform::CommonDialog CommonDialog4;
    platform::CommonDialog CommonDialog5;

    // The login prompt in place of the launcher labels, and back. The prompt always comes up
    // with an empty password box: a password typed earlier must not let the next person in.
    void SHOWPASSWORD();
    void HIDEPASSWORD();
    // The welcome frame over the window.
    void showWelcome();

    // Failed password attempts of this run.
    int FailedPasswordCount() const;

signals:
    // The window has been drawn on the screen for the first time.
    void firstShown();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLauncher();
    void buildLoginPrompt();
    void connectHandlers();

    QList<LauncherLabel*> launcherLabels() const;
    QList<LauncherLabel*> linkLabels() const;
    QList<QWidget*> loginControls() const;
    void layOutLoginPrompt();

    void pointAtLauncherLabel(LauncherLabel* label);
    void pointAtBackground();
    void pointAtHelp();
    void pointAtLink(LauncherLabel* link);
    void keepFixedSize();

    void Command3_Click();
    void Command4_Click();
    void OKSecurity_Click();
    void CancelSecurity_Click();
    void countFailedPassword();
    void endAfterRefusedLogin();
    void startLoginWait();
    void layOutLoginWait();
    void showLoginWait();
    void endLoginWait();

    Program& m_program;
    bool m_shown = false;
    // The prompt was shown again while the program ran (the host asked for the login), not by
    // the start-up: windows may then hold unsaved work.
    bool m_loginDuringRun = false;
    LoginWait m_loginWait;
    QTimer* m_waitTimer;
};

} // namespace shell
