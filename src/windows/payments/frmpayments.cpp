#include "windows/payments/frmpayments.h"

#include "datafiles/datafoldertree.h"
#include "datafiles/fileprocedures.h"
#include "datafiles/htmlhelp.h"
#include "datafiles/paymentfile.h"
#include "datafiles/paymentheaderexchange.h"
#include "datafiles/postinglock.h"
#include "datafiles/settingsstore.h"
#include "datafiles/transactionheaderfile.h"
#include "platform/clock.h"
#include "platform/colors.h"
#include "platform/onscreen.h"
#include "platform/prompts.h"
#include "platform/twips.h"
#include "platform/vb.h"
#include "posting/paymentposting.h"
#include "posting/postingchecks.h"
#include "posting/postingjournal.h"
#include "services/formresult.h"
#include "services/formservice.h"
#include "windows/document/controlplace.h"
#include "windows/document/postedcompanyfileview.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <algorithm>

namespace windows {

namespace {

using datafiles::PaymentLabel;
using datafiles::PaymentRecord;
using platform::Answer;
using platform::MsgStyle::Critical;

// The client area and the controls, in twips.
constexpr int ClientWidth = 5280;
constexpr int ClientHeight = 5175;
constexpr int ButtonWidth = 405;
constexpr int ButtonHeight = 330;
constexpr int CaptionLeft = 240;
constexpr int CaptionWidth = 2415;
constexpr int RowHeight = 255;
constexpr int ValueLeft = 2640;
constexpr int ValueWidth = 2500;
constexpr int WideValueWidth = 2505;
constexpr int PaymentValueHeight = 240;
constexpr ControlPlace NoteCaptionPlace{120, 3000, 1455, RowHeight};
constexpr ControlPlace NotePlace{120, 3240, 5025, 1785};

constexpr uint32_t BackColor = 0x0078A7D1;
constexpr uint32_t CaptionColor = 0x00004080;
constexpr uint32_t ValueColor = 0x00000040;

const QString SavedAlready = QStringLiteral(
    "was already saved. To avoid payment errors, you can't save the same payment more then once. If one "
    "transaction is not paid completely and you want to add payment, open that transaction and save new "
    "payment. Open Transaction now?");

struct ToolButton {
    const char* name;
    int left;
    const char* toolTip;
    QStyle::StandardPixmap icon;
};

const ToolButton ToolButtons[] = {
    {"cmdFind", 120, "Open Transaction ", QStyle::SP_FileDialogContentsView},
    {"cmdOpen", 480, "Open Payment ", QStyle::SP_DialogOpenButton},
    {"cmdSave", 840, "Save", QStyle::SP_DialogSaveButton},
    {"exporttoexcel", 1200, "Export to Excel Form", QStyle::SP_FileDialogDetailedView},
    {"Help", 1560, "Help", QStyle::SP_DialogHelpButton},
    {"cmdPrintOptions", 1920, "Print", QStyle::SP_FileIcon},
};

struct CaptionLabel {
    const char* text;
    int top;
};

const CaptionLabel CaptionLabels[] = {
    {"TRANSACTION NUMBER:", 420},    {"TRANSACTION DATE:", 640},   {"TRANSACTION TOTAL VALUE:", 900},
    {"FROM COMPANY:", 1120},         {"FROM CONTACT:", 1350},      {"TO COMPANY:", 1600},
    {"TO CONTACT:", 1860},           {"THIS PAYMENT VALUE:", 2090}, {"AMOUNT PAID BY NOW:", 2320},
    {"TRANSACTION  BALANCE:", 2560}, {"THIS PAYMENT DATE:", 2790},
};

// The labels of the record, by their names, as the window shows them.
struct LabelField {
    const char* name;
    PaymentLabel PaymentRecord::*field;
};

const LabelField LabelFields[] = {
    {"TransactionNumber", &PaymentRecord::TransactionNumber},
    {"DateandTime", &PaymentRecord::DateandTime},
    {"TransactionValue", &PaymentRecord::TransactionValue},
    {"fromcompany", &PaymentRecord::fromcompany},
    {"fromcontact", &PaymentRecord::fromcontact},
    {"tocompany", &PaymentRecord::tocompany},
    {"tocontact", &PaymentRecord::tocontact},
    {"AmountPaid", &PaymentRecord::AmountPaid},
    {"Balance", &PaymentRecord::Balance},
    {"PaymentDate", &PaymentRecord::PaymentDate},
    {"lblChangeStatus", &PaymentRecord::lblChangeStatus},
    {"fromcompanyiselected", &PaymentRecord::fromcompanyiselected},
    {"tocompanyiselected", &PaymentRecord::tocompanyiselected},
};

int toPixels(int twips)
{
    return qRound(twips / double(platform::TwipsPerPixelX));
}

QRect pixels(const ControlPlace& place)
{
    return QRect(toPixels(place.Left), toPixels(place.Top), toPixels(place.Width), toPixels(place.Height));
}

void setColors(QWidget* widget, uint32_t back, uint32_t text)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, platform::toQColor(back));
    palette.setColor(QPalette::Base, platform::toQColor(back));
    palette.setColor(QPalette::WindowText, platform::toQColor(text));
    palette.setColor(QPalette::Text, platform::toQColor(text));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QFont pointFont(const QString& family, double points)
{
    QFont font(family);
    font.setPointSizeF(points);
    return font;
}

// Whether a focus change is the user's move to another control of the window, not the
// window losing the focus to another window or to a message box.
bool movesWithinWindow(const QFocusEvent* event)
{
    return event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
}

} // namespace

frmPayments::frmPayments(const PaymentsContext& context, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_context(context)
{
    // Form_Load: the data folders must exist before anything is opened or saved.
    datafiles::CreateDataFolders();
    setObjectName(QStringLiteral("frmPayments"));
    setWindowTitle(UnsavedCaption);
    setColors(this, BackColor, CaptionColor);
    setFixedSize(toPixels(ClientWidth), toPixels(ClientHeight));
    buildToolBar();
    buildCaptionLabels();
    buildValueControls();
    buildHiddenControls();
    showRecord();
}

frmPayments::~frmPayments()
{
    // A window dropped without closing (the program ending at once) leaves no lock of its
    // own behind to keep every other machine from the transaction.
    releaseLock();
}

// ---------------------------------------------------------------------------------------
// Controls

void frmPayments::buildToolBar()
{
    for (const ToolButton& entry : ToolButtons) {
        auto* b = new QToolButton(this);
        const QString name = QString::fromLatin1(entry.name);
        b->setObjectName(name);
        b->setToolTip(QString::fromLatin1(entry.toolTip));
        b->setIcon(style()->standardIcon(entry.icon));
        b->setAutoRaise(true);
        // A click takes the focus, so that leaving the payment value is checked first.
        b->setFocusPolicy(Qt::StrongFocus);
        b->setGeometry(pixels({entry.left, 0, ButtonWidth, ButtonHeight}));
        m_buttons.insert(name, b);
    }
    connect(m_buttons.value(QStringLiteral("cmdFind")), &QAbstractButton::clicked, this, [this] { cmdFind_Click(); });
    connect(m_buttons.value(QStringLiteral("cmdOpen")), &QAbstractButton::clicked, this, [this] { cmdOpen_Click(); });
    connect(m_buttons.value(QStringLiteral("cmdSave")), &QAbstractButton::clicked, this, [this] { cmdSave_Click(); });
    connect(m_buttons.value(QStringLiteral("exporttoexcel")), &QAbstractButton::clicked, this,
            [this] { exporttoexcel_Click(); });
    connect(m_buttons.value(QStringLiteral("Help")), &QAbstractButton::clicked, this, [this] { Help_Click(); });
    connect(m_buttons.value(QStringLiteral("cmdPrintOptions")), &QAbstractButton::clicked, this,
            [this] { cmdPrintOptions_Click(); });
}

void frmPayments::buildCaptionLabels()
{
    const QFont font = pointFont(QStringLiteral("Arial"), 8.25);
    auto add = [&](const QString& text, const ControlPlace& place, Qt::Alignment alignment) {
        auto* caption = new QLabel(text, this);
        caption->setFont(font);
        caption->setAlignment(alignment | Qt::AlignVCenter);
        caption->setGeometry(pixels(place));
        setColors(caption, BackColor, CaptionColor);
    };
    for (const CaptionLabel& entry : CaptionLabels)
        add(QString::fromLatin1(entry.text), {CaptionLeft, entry.top, CaptionWidth, RowHeight}, Qt::AlignRight);
    add(QStringLiteral("NOTE:"), NoteCaptionPlace, Qt::AlignLeft);
}

QLabel* frmPayments::valueLabel(const QString& name, int top, int width)
{
    auto* value = new QLabel(this);
    value->setObjectName(name);
    value->setFont(pointFont(QStringLiteral("Comic Sans MS"), 8.25));
    value->setFrameShape(QFrame::Box);
    value->setLineWidth(1);
    value->setGeometry(pixels({ValueLeft, top, width, RowHeight}));
    setColors(value, platform::SysColor::Window, ValueColor);
    m_labels.insert(name, value);
    return value;
}

void frmPayments::buildValueControls()
{
    struct Row {
        const char* name;
        int top;
    };
    const Row rows[] = {{"TransactionNumber", 360}, {"DateandTime", 600}, {"TransactionValue", 840},
                        {"fromcompany", 1080},      {"fromcontact", 1320}, {"tocompany", 1560},
                        {"tocontact", 1800}};
    for (const Row& row : rows)
        valueLabel(QString::fromLatin1(row.name), row.top, ValueWidth);

    m_paymentValue = new QLineEdit(this);
    m_paymentValue->setObjectName(QStringLiteral("PaymentValue"));
    m_paymentValue->setFont(pointFont(QStringLiteral("Comic Sans MS"), 8.25));
    m_paymentValue->setGeometry(pixels({ValueLeft, 2040, ValueWidth, PaymentValueHeight}));
    setColors(m_paymentValue, platform::SysColor::Window, ValueColor);
    m_paymentValue->installEventFilter(this);
    connect(m_paymentValue, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!m_showing)
            PaymentValue_Change(text);
    });

    valueLabel(QStringLiteral("AmountPaid"), 2280, WideValueWidth);
    valueLabel(QStringLiteral("Balance"), 2520, WideValueWidth);
    QLabel* paymentDate = valueLabel(QStringLiteral("PaymentDate"), 2760, WideValueWidth);
    paymentDate->installEventFilter(this);

    m_note = new QPlainTextEdit(this);
    m_note->setObjectName(QStringLiteral("Note"));
    m_note->setFont(pointFont(QStringLiteral("Arial"), 8.25));
    m_note->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_note->setGeometry(pixels(NotePlace));
    setColors(m_note, platform::SysColor::Window, platform::SysColor::WindowText);
    connect(m_note, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_showing)
            m_record.Note.Text = m_note->toPlainText();
    });
}

void frmPayments::buildHiddenControls()
{
    m_fromMyCompany = new QCheckBox(this);
    m_fromMyCompany->setObjectName(QStringLiteral("FromMyCompany"));
    m_toMyCompany = new QCheckBox(this);
    m_toMyCompany->setObjectName(QStringLiteral("ToMyCompany"));
    for (QWidget* hidden : {static_cast<QWidget*>(m_fromMyCompany), static_cast<QWidget*>(m_toMyCompany)})
        hidden->hide();
    for (const char* name : {"lblChangeStatus", "fromcompanyiselected", "tocompanyiselected"}) {
        auto* hidden = new QLabel(this);
        hidden->setObjectName(QString::fromLatin1(name));
        hidden->hide();
        m_labels.insert(hidden->objectName(), hidden);
    }
}

void frmPayments::showRecord()
{
    m_showing = true;
    for (const LabelField& entry : LabelFields) {
        QLabel* shown = m_labels.value(QString::fromLatin1(entry.name));
        const PaymentLabel& value = m_record.*entry.field;
        shown->setText(value.Caption);
        shown->setToolTip(value.ToolTipText);
    }
    auto showCheck = [](QCheckBox* box, const datafiles::PaymentCheckBox& value) {
        box->setText(value.Caption);
        box->setChecked(value.Value == 1);
        box->setToolTip(value.ToolTipText);
    };
    showCheck(m_fromMyCompany, m_record.FromMyCompany);
    showCheck(m_toMyCompany, m_record.ToMyCompany);
    if (m_paymentValue->text() != m_record.PaymentValue().Text)
        m_paymentValue->setText(m_record.PaymentValue().Text);
    m_paymentValue->setToolTip(m_record.PaymentValue().ToolTipText);
    if (m_note->toPlainText() != m_record.Note.Text)
        m_note->setPlainText(m_record.Note.Text);
    m_note->setToolTip(m_record.Note.ToolTipText);
    m_showing = false;
}

void frmPayments::showAmounts()
{
    const auto show = [this](const QString& name, const PaymentLabel& value) {
        m_labels.value(name)->setText(value.Caption);
        m_labels.value(name)->setToolTip(value.ToolTipText);
    };
    show(QStringLiteral("AmountPaid"), m_record.AmountPaid);
    show(QStringLiteral("Balance"), m_record.Balance);
}

// ---------------------------------------------------------------------------------------
// Window events

void frmPayments::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // First shown centred on the screen; after that it stays where it was put.
    if (!m_placed) {
        m_placed = true;
        if (const QScreen* screen = this->screen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
        platform::keepOnScreen(*this);
    }
    Form_Activate();
}

void frmPayments::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}

void frmPayments::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

bool frmPayments::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_paymentValue && event->type() == QEvent::FocusOut
        && movesWithinWindow(static_cast<QFocusEvent*>(event))) {
        PaymentValue_LostFocus();
    } else if (watched == m_labels.value(QStringLiteral("PaymentDate")) && event->type() == QEvent::MouseButtonRelease
               && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        PaymentDate_Click();
    }
    return QWidget::eventFilter(watched, event);
}

void frmPayments::Form_Activate()
{
    m_context.store.ActiveList = QStringLiteral("frmPayments");
}

// Nothing is asked, whatever the window shows.
void frmPayments::Form_Unload()
{
    releaseLock();
}

void frmPayments::Help_Click()
{
    datafiles::HTMLHelp::showTopic(datafiles::HelpTopic::Payments);
}

// ---------------------------------------------------------------------------------------
// The payment value and date

void frmPayments::PaymentValue_Change(const QString& text)
{
    m_record.setPaymentValueText(text);
    showAmounts();
}

void frmPayments::PaymentValue_LostFocus()
{
    const QString text = m_record.PaymentValue().Text;
    if (!platform::vb::IsNumeric(text)) {
        m_context.prompts.MsgBox(QStringLiteral("YOU CAN ENTER ONLY NUMBERS!"), Critical);
        m_record.setPaymentValueText(QStringLiteral("0"));
        showRecord();
        return;
    }
    if (m_record.Balance.Caption.isEmpty())
        m_record.Balance.Caption = QStringLiteral("0");
    // A balance that is no number (only a damaged file brings one) is left to Save, which
    // checks the payment against the header on disk.
    const auto balance = platform::vb::CDbl(m_record.Balance.Caption);
    if (balance && *balance < 0) {
        m_context.prompts.MsgBox(QStringLiteral("Incorect Payment Value!"), Critical);
        m_record.setPaymentValueText(QStringLiteral("0"));
    }
    showRecord();
}

void frmPayments::PaymentDate_Click()
{
    m_record.PaymentDate.Caption = platform::vb::GeneralDate(platform::now());
    showRecord();
}

// ---------------------------------------------------------------------------------------
// Filling the window

void frmPayments::CLEARALL()
{
    m_record.CLEARALL();
    showRecord();
}

void frmPayments::releaseLock()
{
    if (!m_lock.holds())
        return;
    m_context.store.shell().SaznaUserName();
    m_lock.release(m_context.store.lblUserName.value());
}

void frmPayments::startNewPayment()
{
    releaseLock();
    setWindowTitle(UnsavedCaption);
    CLEARALL();
}

void frmPayments::loadHeader(const QString& headerPath)
{
    const datafiles::PaymentHeaderLoad loaded =
        datafiles::LoadHeaderForPayment(headerPath, m_record, m_context.store);
    if (loaded == datafiles::PaymentHeaderLoad::Loaded
        && m_context.store.networkMode() != datafiles::NetworkMode::SingleMachine)
        m_lock.adoptIfWritten(headerPath, m_context.store.lblUserName.value());
    showRecord();
}

void frmPayments::enterPayment(const QString& transactionPath)
{
    hide();
    show();
    raise();
    activateWindow();
    startNewPayment();
    // A transaction never saved has no header; its path is not to be taken as a file name
    // relative to wherever the program runs.
    if (transactionPath.isEmpty()) {
        datafiles::reportMissingHeaderFile();
        return;
    }
    loadHeader(transactionPath + QStringLiteral("H"));
}

bool frmPayments::mayReplaceContent()
{
    const auto mark = platform::vb::CDbl(m_record.lblChangeStatus.Caption);
    if (!mark || *mark != 1)
        return true;
    switch (m_context.prompts.MsgBox(QStringLiteral("Save Changes?"), platform::MsgStyle::YesNoCancelQuestionCancel,
                                     windowTitle())) {
    case Answer::Yes:
        cmdSave_Click();
        return false;
    case Answer::No:
        return true;
    default:
        return false;
    }
}

// ---------------------------------------------------------------------------------------
// Folders and network checks

QString frmPayments::transactionsFolder() const
{
    return datafiles::DataRoot(m_context.store) + datafiles::TransactionsFolder;
}

QString frmPayments::paymentsFolder() const
{
    return datafiles::DataRoot(m_context.store) + datafiles::PaymentsFolder;
}

bool frmPayments::networkDataFolderCheck()
{
    const datafiles::SettingsStore& store = m_context.store;
    if (store.networkMode() == datafiles::NetworkMode::SingleMachine)
        return true;
    // Either folder will do, in both modes; an empty one names no folder at all.
    const auto reachable = [](const QString& hostFolder) {
        return !hostFolder.isEmpty() && datafiles::FolderExists(hostFolder + QStringLiteral("QVNET/RAzar/"));
    };
    if (reachable(store.MyHostSystem.value()) || reachable(store.lblConnectedtohostsystem.value()))
        return true;
    m_context.prompts.MsgBox(QStringLiteral("Network connection error. Can't find Network Directory."), Critical);
    return false;
}

bool frmPayments::networkPaymentCheck()
{
    const posting::CheckResult network =
        posting::checkNetwork(m_context.store, datafiles::PaymentsFolder, QStringLiteral("Payments"));
    if (!network)
        showNotice(network.notice.text, network.notice.title, network.notice.style);
    return bool(network);
}

void frmPayments::showNotice(const QString& text, const QString& title, int style)
{
    m_context.prompts.MsgBox(text, style, title);
}

// ---------------------------------------------------------------------------------------
// Open Transaction and Open Payment

void frmPayments::cmdFind_Click()
{
    if (!mayReplaceContent())
        return;
    platform::CommonDialog& dialog = m_context.CommonDialog4;
    dialog.Flags = 0;
    dialog.Filter = QStringLiteral("Transaction (*.QVT)|*.QVT|");
    dialog.CancelError = true;
    dialog.InitDir = transactionsFolder();
    if (!m_context.prompts.ShowOpen(dialog))
        return;
    if (dialog.FileName.isEmpty() || !datafiles::FileExists(dialog.FileName))
        return;
    if (!networkPaymentCheck())
        return;
    // Only now does the window's content give way: a cancelled or refused choice leaves the
    // payment shown, its caption and its lock as they were.
    startNewPayment();
    loadHeader(dialog.FileName + QStringLiteral("H"));
}

void frmPayments::cmdOpen_Click()
{
    if (!mayReplaceContent())
        return;
    platform::CommonDialog& dialog = m_commonDialog1;
    dialog.Filter = QStringLiteral("QV Payment (*.QVP)|*.QVP|");
    dialog.CancelError = true;
    dialog.InitDir = paymentsFolder();
    if (!networkDataFolderCheck())
        return;
    if (!m_context.prompts.ShowOpen(dialog))
        return;
    if (dialog.FileName.isEmpty() || !datafiles::FileExists(dialog.FileName))
        return;
    // A file that could not be read has been reported and left the payment as it was.
    if (datafiles::LoadPaymentFile(dialog.FileName, m_record) != datafiles::LineFileReader::Status::Accepted)
        return;
    releaseLock();
    setWindowTitle(QStringLiteral("Payment [ ") + datafiles::GetFileNameOnly(dialog.FileName) + QStringLiteral(" ]"));
    m_record.lblChangeStatus.Caption = QStringLiteral("0");
    showRecord();
}

// ---------------------------------------------------------------------------------------
// Save

bool frmPayments::cmdSave_Click()
{
    if (!networkPaymentCheck())
        return false;
    if (windowTitle() != UnsavedCaption) {
        if (m_context.prompts.MsgBox(windowTitle() + SavedAlready, platform::MsgStyle::YesNo) == Answer::Yes)
            cmdFind_Click();
        return false;
    }
    posting::PaymentPosting posting(m_context.store);
    if (const posting::CheckResult entry = posting.checkEntry(m_record); !entry) {
        showNotice(entry.notice.text, entry.notice.title, entry.notice.style);
        return false;
    }
    posting.reloadSharedValues();
    if (const posting::CheckResult parties = posting.checkParties(m_record); !parties) {
        showNotice(parties.notice.text, parties.notice.title, parties.notice.style);
        return false;
    }
    m_commonDialog1.FileName = posting.nextFileName();
    if (!askPaymentFile())
        return false;
    // A file that stood there when the user agreed to write over it may be replaced; one that
    // another posting wrote meanwhile may not.
    const bool replacing = datafiles::FileExists(m_commonDialog1.FileName);
    const posting::PaymentResult result = posting.post({m_record, m_commonDialog1.FileName, replacing});
    if (!result.posted()) {
        showNotice(result.notice.text, result.notice.title, result.notice.style);
        return false;
    }
    showPosted(result);
    return true;
}

bool frmPayments::askPaymentFile()
{
    platform::CommonDialog& dialog = m_commonDialog1;
    dialog.Filter = QStringLiteral("Payment (*.QVP)|*.QVP|");
    dialog.CancelError = true;
    dialog.InitDir = paymentsFolder();
    if (!m_context.prompts.ShowSave(dialog) || dialog.FileName.isEmpty())
        return false;
    if (isWrittenByThePosting(dialog.FileName)) {
        m_context.prompts.MsgBox(QStringLiteral("The payment cannot be saved as \"%1\": the payment itself changes "
                                                "that file. Please choose another name.")
                                     .arg(dialog.FileName),
                                 Critical);
        return false;
    }
    if (!datafiles::FileExists(dialog.FileName))
        return true;
    return m_context.prompts.MsgBox(QStringLiteral("File ") + dialog.FileName
                                        + QStringLiteral(" already existing. Overwrite the existing file?"),
                                    platform::MsgStyle::YesNo)
        == Answer::Yes;
}

// The payment file is written in the same change as the transaction's header, the parties'
// company files, the settings and the host file; named as one of them it would take that
// file's place, and the transaction or a balance would be lost.
bool frmPayments::isWrittenByThePosting(const QString& path) const
{
    const datafiles::SettingsStore& store = m_context.store;
    QStringList written = {m_record.lblChangeStatus.ToolTipText, datafiles::settingsFilePath(),
                           store.modeHostFile(),
                           posting::PostingJournal::path(datafiles::PostingLock::folderFor(store))};
    if (m_record.FromMyCompany.Value == 0)
        written << m_record.fromcompany.ToolTipText;
    if (m_record.ToMyCompany.Value == 0)
        written << m_record.tocompany.ToolTipText;
    const auto same = [](const QString& a, const QString& b) {
        const QFileInfo first(a), second(b);
        if (first.exists() && second.exists())
            return first.canonicalFilePath() == second.canonicalFilePath();
        return first.absoluteFilePath() == second.absoluteFilePath();
    };
    return std::any_of(written.cbegin(), written.cend(),
                       [&](const QString& file) { return !file.isEmpty() && same(file, path); });
}

void frmPayments::showPosted(const posting::PaymentResult& result)
{
    m_record = result.payment;
    m_commonDialog1.FileName = result.FileName;
    setWindowTitle(QStringLiteral("Payment [ ") + datafiles::GetFileNameOnly(result.FileName) + QStringLiteral(" ]"));
    showRecord();
    for (const QString& companyFile : result.contactFiles) {
        if (m_context.contacts)
            placeBeside(m_context.contacts->showPostedCompanyFile(companyFile));
        m_context.prompts.MsgBox(QStringLiteral("Payment Saved"), platform::MsgStyle::Information);
    }
    // Written, but something is finished only at the next posting or start: say so.
    if (!result.notice.text.isEmpty())
        showNotice(result.notice.text, result.notice.title, result.notice.style);
}

void frmPayments::placeBeside(const ControlPlace& place)
{
    m_placed = true;
    move(toPixels(place.Left + place.Width), toPixels(place.Top));
    platform::keepOnScreen(*this, platform::Fit::KeepPlace);
}

// ---------------------------------------------------------------------------------------
// The payment form

services::PaymentFormValues frmPayments::formValues() const
{
    const PaymentRecord& r = m_record;
    services::PaymentFormValues values;
    values.TransactionNumber = r.TransactionNumber.Caption;
    values.DateandTime = r.DateandTime.Caption;
    values.TransactionValue = r.TransactionValue.Caption;
    values.fromcompany = r.fromcompany.Caption;
    values.fromcontact = r.fromcontact.Caption;
    values.tocompany = r.tocompany.Caption;
    values.tocontact = r.tocontact.Caption;
    values.PaymentValue = r.PaymentValue().Text;
    values.AmountPaid = r.AmountPaid.Caption;
    values.PaymentDate = r.PaymentDate.Caption;
    values.Balance = r.Balance.Caption;
    values.Note = r.Note.Text;
    return values;
}

services::FormServiceInputs frmPayments::formInputs()
{
    return {.store = m_context.store, .prompts = m_context.prompts};
}

void frmPayments::showFormResult(const services::FormResult& result)
{
    if (m_context.formTemplatePicker)
        services::showFormResult(result, m_context.prompts, *m_context.formTemplatePicker);
    else if (result.message)
        result.message->show(m_context.prompts);
}

void frmPayments::cmdPrintOptions_Click()
{
    services::FormService service(formInputs());
    showFormResult(service.printPayment(formValues()));
}

void frmPayments::exporttoexcel_Click()
{
    services::FormService service(formInputs());
    showFormResult(service.exportPayment(formValues()));
}

} // namespace windows
