#include "shell/frmmain.h"

#include "datafiles/htmlhelp.h"
#include "datafiles/settingsfile.h"
#include "datafiles/settingsstore.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/prompts.h"
#include "platform/twips.h"
#include "platform/vb.h"
#include "shell/formnames.h"
#include "shell/launcherlabel.h"
#include "shell/program.h"
#include "shell/shellpictures.h"
#include "shell/weblinks.h"
#include "shell/welcomeframe.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <algorithm>

#ifndef QUORVANE_VERSION
#define QUORVANE_VERSION "0"
#endif

namespace shell {

namespace {

constexpr int ClientWidth = frmMain::WidthTwips / platform::TwipsPerPixelX;
constexpr int ClientHeight = frmMain::HeightTwips / platform::TwipsPerPixelY;
// The space between the login prompt's controls.
constexpr int LoginGap = 12;

const QString ThankYou = QStringLiteral(
    "Thank you! Please read our help file's step by step topic. It is important that you read this "
    "topic since Quorvane somewhat differs from ordinary windows accounting application. This design "
    "is in your benefit and once you get used to it, you will work much faster with your invoices!");

// A label in the labels' colour and a bold face of the given size.
LauncherLabel* textLabel(const QString& name, const QString& caption, int pointSize, const QRect& place,
                         QWidget* parent)
{
    auto* label = new LauncherLabel(name, parent);
    label->setText(caption);
    QFont font = label->font();
    font.setPointSize(pointSize);
    font.setBold(true);
    label->setFont(font);
    label->setForeColor(frmMain::NormalColor);
    label->setGeometry(place);
    return label;
}

LauncherLabel* launcherLabel(const QString& name, const QString& caption, int top, QWidget* parent)
{
    return textLabel(name, caption, 20, QRect(64, top, 260, 40), parent);
}

// The link labels stand beside the help picture and show only while it is pointed at.
LauncherLabel* linkLabel(const QString& name, const QString& caption, int top, QWidget* parent)
{
    LauncherLabel* label = textLabel(name, caption, 11, QRect(ClientWidth - 272, top, 200, 22), parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->hide();
    return label;
}

LauncherLabel* picture(const QString& name, const QPixmap& pixmap, QPoint at, QWidget* parent)
{
    auto* label = new LauncherLabel(name, parent);
    label->setPixmap(pixmap);
    label->setGeometry(QRect(at, pixmap.size()));
    return label;
}

// Help is a convenience: whatever goes wrong in showing it is passed over.
void showHelpTopic(const QString& page)
{
    try {
        datafiles::HTMLHelp::showTopic(page);
    } catch (...) {
    }
}

void openPage(const QString& address)
{
    try {
        (void)platform::openUrl(address);
    } catch (...) {
    }
}

} // namespace

frmMain::frmMain(Program& program) : m_program(program)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Main Menu"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(ClientWidth, ClientHeight);
    setMouseTracking(true);

    buildLauncher();
    buildLoginPrompt();
    Welcome = new WelcomeFrame(this);
    Welcome->setGeometry(rect());
    Welcome->hide();
    connectHandlers();
}

void frmMain::buildLauncher()
{
    lblItems = launcherLabel(QStringLiteral("lblItems"), QStringLiteral("Items"), 100, this);
    lblContacts = launcherLabel(QStringLiteral("lblContacts"), QStringLiteral("Contacts"), 148, this);
    lblTransactions = launcherLabel(QStringLiteral("lblTransactions"), QStringLiteral("Transactions"), 196, this);
    lblPayments = launcherLabel(QStringLiteral("lblPayments"), QStringLiteral(" Payments"), 244, this);
    lblBalance = launcherLabel(QStringLiteral("lblBalance"), QStringLiteral("  Settings"), 292, this);

    imgHelp = picture(QStringLiteral("imgHelp"), ShellPictures::help(40), QPoint(ClientWidth - 60, ClientHeight - 60), this);
    HelpwithQV = linkLabel(QStringLiteral("HelpwithQV"), QStringLiteral("Help"), ClientHeight - 110, this);
    QVWebpage = linkLabel(QStringLiteral("QVWebpage"), QStringLiteral("QV Web Page"), ClientHeight - 84, this);
    velkorncom = linkLabel(QStringLiteral("velkorncom"), WebLinks::MakerAddressCaption, ClientHeight - 58, this);

    lblVersion = new QLabel(QStringLiteral("Version %1").arg(QStringLiteral(QUORVANE_VERSION)), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    QPalette p = lblVersion->palette();
    p.setColor(QPalette::WindowText, QColor(40, 52, 70));
    lblVersion->setPalette(p);
    lblVersion->setGeometry(24, ClientHeight - 32, 200, 20);
    lblVersion->setMouseTracking(true);
}

void frmMain::buildLoginPrompt()
{
    lblPlease = new QLabel(QStringLiteral("Please Enter the Security Password and click on OK button"), this);
    lblPlease->setObjectName(QStringLiteral("lblPlease"));
    lblPlease->setWordWrap(true);
    QFont font = lblPlease->font();
    font.setPointSize(12);
    font.setBold(true);
    lblPlease->setFont(font);

    txtpassword = new QLineEdit(this);
    txtpassword->setObjectName(QStringLiteral("txtpassword"));
    txtpassword->setEchoMode(QLineEdit::Password);
    txtpassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));

    OKSecurity = picture(QStringLiteral("OKSecurity"), ShellPictures::ok(36), QPoint(), this);
    CancelSecurity = picture(QStringLiteral("CancelSecurity"), ShellPictures::cancel(36), QPoint(), this);
    ImageKey = picture(QStringLiteral("ImageKey"), ShellPictures::key(56), QPoint(), this);
    ImageKey->setCursor(Qt::ArrowCursor);
    ImageKey->setToolTip(QStringLiteral("0"));
    lblWait = new QLabel(this);
    lblWait->setObjectName(QStringLiteral("lblWait"));
    lblWait->setWordWrap(true);
    QFont waitFont = lblWait->font();
    waitFont.setBold(true);
    lblWait->setFont(waitFont);
    lblWait->hide();
    layOutLoginPrompt();
    for (QWidget* control : loginControls())
        control->hide();
    // The wait is shown as it runs down; the program goes on meanwhile.
    m_waitTimer = new QTimer(this);
    m_waitTimer->setInterval(250);
    connect(m_waitTimer, &QTimer::timeout, this, &frmMain::showLoginWait);
}

// The key at the left, the request beside it as high as its wrapped lines need at its font,
// and under them the password box with the OK and cancel pictures; all of it clear of the
// background's picture at the right, and no control over another.
void frmMain::layOutLoginPrompt()
{
    constexpr int Left = 64;
    constexpr int Top = 100;
    constexpr int Gap = LoginGap;
    const int right = ShellPictures::backgroundPictureArea(QRect(0, 0, ClientWidth, ClientHeight)).left() - Gap;
    ImageKey->move(Left, Top);
    const int textLeft = ImageKey->geometry().right() + 1 + Gap;
    const int textWidth = right - textLeft;
    lblPlease->setGeometry(textLeft, Top, textWidth, lblPlease->heightForWidth(textWidth));
    const int rowTop = std::max(ImageKey->geometry().bottom(), lblPlease->geometry().bottom()) + 1 + Gap;
    const int pictureSize = OKSecurity->height();
    const int boxHeight = std::max(28, txtpassword->sizeHint().height());
    const int boxWidth = right - Left - 2 * (pictureSize + Gap / 2) - Gap / 2;
    txtpassword->setGeometry(Left, rowTop + (pictureSize - boxHeight) / 2, boxWidth, boxHeight);
    OKSecurity->move(txtpassword->geometry().right() + 1 + Gap / 2, rowTop);
    CancelSecurity->move(OKSecurity->geometry().right() + 1 + Gap / 2, rowTop);
}

// The wait's text goes under the box, as high as the longest text of a wait needs. It is
// laid out when a wait begins, so that no start of the program lays out texts for it.
void frmMain::layOutLoginWait()
{
    const int left = txtpassword->geometry().left();
    const int waitWidth = CancelSecurity->geometry().right() + 1 - left;
    int waitHeight = 0;
    for (const qint64 longest : {119, 119 * 60, 24 * 3600}) {
        lblWait->setText(LoginWait::text(longest));
        waitHeight = std::max(waitHeight, lblWait->heightForWidth(waitWidth));
    }
    lblWait->clear();
    lblWait->setGeometry(left, OKSecurity->geometry().bottom() + 1 + LoginGap, waitWidth, waitHeight);
}

void frmMain::connectHandlers()
{
    connect(lblItems, &LauncherLabel::clicked, this, [this] { m_program.openDocumentWindow(FormName::Items); });
    connect(lblContacts, &LauncherLabel::clicked, this, [this] { m_program.openDocumentWindow(FormName::Contacts); });
    connect(lblTransactions, &LauncherLabel::clicked, this,
            [this] { m_program.openDocumentWindow(FormName::Transactions); });
    connect(lblPayments, &LauncherLabel::clicked, this, [this] { m_program.showPaymentsWindow(); });
    connect(lblBalance, &LauncherLabel::clicked, this, [this] { m_program.showSettingsWindow(); });
    for (LauncherLabel* label : launcherLabels())
        connect(label, &LauncherLabel::pointed, this, [this, label] { pointAtLauncherLabel(label); });

    connect(imgHelp, &LauncherLabel::pointed, this, &frmMain::pointAtHelp);
    for (LauncherLabel* link : linkLabels())
        connect(link, &LauncherLabel::pointed, this, [this, link] { pointAtLink(link); });
    connect(HelpwithQV, &LauncherLabel::clicked, this, [] { showHelpTopic(datafiles::HelpTopic::Welcome); });
    connect(QVWebpage, &LauncherLabel::clicked, this, [] { openPage(WebLinks::ProductPage); });
    connect(velkorncom, &LauncherLabel::clicked, this, [] { openPage(WebLinks::MakerHomePage); });

    connect(Welcome->Command3, &QPushButton::clicked, this, &frmMain::Command3_Click);
    connect(Welcome->Command4, &QPushButton::clicked, this, &frmMain::Command4_Click);
    connect(OKSecurity, &LauncherLabel::clicked, this, &frmMain::OKSecurity_Click);
    connect(txtpassword, &QLineEdit::returnPressed, this, &frmMain::OKSecurity_Click);
    connect(CancelSecurity, &LauncherLabel::clicked, this, &frmMain::CancelSecurity_Click);
}

QList<LauncherLabel*> frmMain::launcherLabels() const
{
    return {lblItems, lblContacts, lblTransactions, lblPayments, lblBalance};
}

QList<LauncherLabel*> frmMain::linkLabels() const
{
    return {HelpwithQV, QVWebpage, velkorncom};
}

QList<QWidget*> frmMain::loginControls() const
{
    return {lblPlease, txtpassword, OKSecurity, CancelSecurity, ImageKey};
}

void frmMain::SHOWPASSWORD()
{
    m_loginDuringRun = m_program.started();
    txtpassword->clear();
    for (LauncherLabel* label : launcherLabels())
        label->hide();
    for (QWidget* control : loginControls())
        control->show();
}

void frmMain::HIDEPASSWORD()
{
    for (LauncherLabel* label : launcherLabels())
        label->show();
    for (QWidget* control : loginControls())
        control->hide();
    lblWait->hide();
}

void frmMain::showWelcome()
{
    Welcome->show();
    Welcome->raise();
}

int frmMain::FailedPasswordCount() const
{
    return int(platform::vb::Val(ImageKey->toolTip()));
}

// "Enter" on the welcome frame: every detail must be given; they go into the settings store
// and the settings file.
void frmMain::Command3_Click()
{
    const QList<QLineEdit*> fields = Welcome->companyFields();
    for (int i = 0; i < fields.size(); ++i) {
        if (fields[i]->text().isEmpty()) {
            platform::prompts().MsgBox(WelcomeFrame::missingMessage(i), platform::MsgStyle::OkOnly);
            fields[i]->setFocus();
            return;
        }
    }
    datafiles::SettingsStore& store = m_program.store();
    store.CompanyName = Welcome->CompanyName->text();
    store.CompanyAddress = Welcome->CompanyAddress->text();
    store.CompanyCity = Welcome->CompanyCity->text();
    store.CompanyZip = Welcome->CompanyZip->text();
    store.CompanyEMail = Welcome->CompanyEMail->text();
    store.CompanyFax = Welcome->CompanyFax->text();
    store.CompanyPhone = Welcome->CompanyPhone->text();
    // A failed write is reported by the writer; the details stay in the store and are
    // written again at shut-down.
    (void)datafiles::SaveSettingsFile(store);
    platform::prompts().MsgBox(ThankYou, platform::MsgStyle::Information);
    showHelpTopic(datafiles::HelpTopic::StepbyStep);
    Welcome->hide();
}

void frmMain::Command4_Click()
{
    m_program.endNow();
}

void frmMain::OKSecurity_Click()
{
    // While the prompt waits no password is taken, the right one neither.
    if (m_waitTimer->isActive())
        return;
    if (txtpassword->text() == m_program.store().CURRENTPASSWORD.value()) {
        txtpassword->clear();
        HIDEPASSWORD();
        return;
    }
    const platform::Answer answer = platform::prompts().MsgBox(QStringLiteral("Your Password is not valid!"),
                                                               platform::MsgStyle::RetryCancel);
    if (answer != platform::Answer::Retry) {
        // During the run, unsaved work may keep the program running and the prompt asking:
        // this failure then counts as one answered with Retry.
        if (m_loginDuringRun)
            countFailedPassword();
        endAfterRefusedLogin();
        return;
    }
    txtpassword->clear();
    txtpassword->setFocus();
    countFailedPassword();
    if (FailedPasswordCount() > 4) {
        platform::prompts().MsgBox(QStringLiteral("Invalid Passwords!"), platform::MsgStyle::Critical);
        endAfterRefusedLogin();
    }
}

void frmMain::countFailedPassword()
{
    ImageKey->setToolTip(platform::vb::CStr(platform::vb::Val(ImageKey->toolTip()) + 1));
}

// A refused login ends the program. The login of the start-up ends it at once: nothing has
// been opened yet. A login the host asked for during the run ends it as closing this window
// does, so that every window with unsaved work asks "Save Changes?" first; a window the user
// keeps open keeps the program running, behind the login prompt. The failures are never
// counted afresh: from the fifth on, the prompt waits longer each time before it takes the
// next password.
void frmMain::endAfterRefusedLogin()
{
    if (!m_loginDuringRun) {
        m_program.endNow();
        return;
    }
    if (m_program.shutDown())
        return;
    SHOWPASSWORD();
    txtpassword->setFocus();
    startLoginWait();
}

void frmMain::startLoginWait()
{
    const std::chrono::seconds length = LoginWait::after(FailedPasswordCount());
    if (length.count() <= 0)
        return;
    m_loginWait.start(platform::now(), length);
    layOutLoginWait();
    txtpassword->setEnabled(false);
    OKSecurity->setEnabled(false);
    lblWait->show();
    m_waitTimer->start();
    showLoginWait();
}

void frmMain::showLoginWait()
{
    const qint64 left = m_loginWait.secondsLeft(platform::now());
    if (left <= 0) {
        endLoginWait();
        return;
    }
    lblWait->setText(LoginWait::text(left));
}

void frmMain::endLoginWait()
{
    m_waitTimer->stop();
    lblWait->hide();
    lblWait->clear();
    txtpassword->setEnabled(true);
    OKSecurity->setEnabled(true);
    if (txtpassword->isVisible())
        txtpassword->setFocus();
}

void frmMain::CancelSecurity_Click()
{
    close();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    if (m_program.ended() || m_program.shutDown())
        event->accept();
    else
        event->ignore();
}

void frmMain::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMaximized))
        setWindowState(windowState() & ~Qt::WindowMaximized);
}

void frmMain::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    keepFixedSize();
    Welcome->setGeometry(rect());
}

void frmMain::keepFixedSize()
{
    if (windowState() & Qt::WindowMinimized)
        return;
    if (width() != ClientWidth || height() != ClientHeight)
        resize(ClientWidth, ClientHeight);
}

void frmMain::mouseMoveEvent(QMouseEvent* event)
{
    QWidget::mouseMoveEvent(event);
    pointAtBackground();
}

void frmMain::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    QPainter painter(this);
    ShellPictures::paintBackground(painter, rect());
}

void frmMain::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_shown && windowHandle())
        windowHandle()->installEventFilter(this);
}

// The first time the window is exposed on the screen it is drawn at once; firstShown follows
// that drawing.
bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_shown && watched == windowHandle() && event->type() == QEvent::Expose && windowHandle()->isExposed()) {
        m_shown = true;
        windowHandle()->removeEventFilter(this);
        QTimer::singleShot(0, this, &frmMain::firstShown);
    }
    return QWidget::eventFilter(watched, event);
}

void frmMain::pointAtLauncherLabel(LauncherLabel* label)
{
    label->setForeColor(PointedColor);
}

void frmMain::pointAtBackground()
{
    for (LauncherLabel* label : launcherLabels())
        if (label->ForeColor() == PointedColor)
            label->setForeColor(NormalColor);
    for (LauncherLabel* link : linkLabels())
        if (link->isVisible())
            link->hide();
}

void frmMain::pointAtHelp()
{
    for (LauncherLabel* link : linkLabels()) {
        link->show();
        link->setForeColor(NormalColor);
    }
}

void frmMain::pointAtLink(LauncherLabel* link)
{
    for (LauncherLabel* other : linkLabels())
        other->setForeColor(other == link ? PointedColor : NormalColor);
}

} // namespace shell
