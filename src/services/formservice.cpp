#include "services/formservice.h"

#include "grid/documents/excelsession.h"
#include "grid/documents/excelsteps.h"
#include "platform/clock.h"
#include "platform/vb.h"
#include "services/printcopies.h"

#include <utility>

namespace services {

namespace {

using Status = FormResult::Status;

const QString FormMissingTitle = QStringLiteral("Velkorn      Excel Form File Missing");

FormResult ended(FormKind kind, Status status, std::optional<UserMessage> message = std::nullopt)
{
    return {status, kind, std::move(message)};
}

// A copies answer that asks for no print: refused with its message, or cancelled in silence.
FormResult noCopies(FormKind kind, CopiesAnswer answer)
{
    return ended(kind, answer.refusal ? Status::Refused : Status::Cancelled, std::move(answer.refusal));
}

// A refusal of a selected-row or transaction check: critical, with the program's title.
UserMessage refusal(const QString& text)
{
    return {text, platform::MsgStyle::Critical, QString()};
}

// The checks of a name and of a price or balance, worded per kind: nothing when they pass.
struct RowChecks {
    QString noName;
    QString noPrice;
    QString priceNotNumber;
    QString priceTooLow;
};

const RowChecks ItemChecks = {
    QStringLiteral("Please select item with the Name"),
    QStringLiteral("Please select the item with price"),
    QStringLiteral("Please select item with the price. Price can be only number"),
    QStringLiteral("Please select item with the price. Price can't be smaller then 0.1"),
};

const RowChecks ContactChecks = {
    QStringLiteral("Please select contact with the Name"),
    QStringLiteral("Please select the contact with price"),
    QStringLiteral("Please select contact with the price. Price can be only number"),
    QStringLiteral("Please select contact with the price. Price can't be smaller then 0.1"),
};

std::optional<UserMessage> nameRefusal(const SelectedRow& row, const RowChecks& checks)
{
    if (row.cell(1).isEmpty())
        return refusal(checks.noName);
    return std::nullopt;
}

std::optional<UserMessage> priceRefusal(const SelectedRow& row, const RowChecks& checks)
{
    const QString& price = row.cell(2);
    if (price.isEmpty())
        return refusal(checks.noPrice);
    const std::optional<double> value = platform::vb::CDbl(price);
    if (!value)
        return refusal(checks.priceNotNumber);
    if (*value < FormService::LowestPrice)
        return refusal(checks.priceTooLow);
    return std::nullopt;
}

QString formName(FormKind kind)
{
    switch (kind) {
    case FormKind::Item:
        return QStringLiteral("item form");
    case FormKind::Contact:
        return QStringLiteral("contact form");
    case FormKind::Transaction:
        return QStringLiteral("transaction form");
    case FormKind::Payment:
        break;
    }
    return QStringLiteral("payment form");
}

// What failed and what it means for the user, then the spreadsheet program's own reason.
FormResult failed(FormKind kind, const QString& what, const QString& reason)
{
    QString text = what;
    if (!reason.isEmpty())
        text += QStringLiteral("\n\n") + reason;
    return ended(kind, Status::Failed,
                 UserMessage{text, platform::MsgStyle::Critical, grid::ExcelSteps::ExcelErrorTitle});
}

bool writeCell(grid::ExcelSession& excel, const FormCell& cell)
{
    if (const QString* text = std::get_if<QString>(&cell.value))
        return excel.WriteCell(cell.address, *text);
    if (const double* number = std::get_if<double>(&cell.value))
        return excel.writeNumber(cell.address, *number);
    return excel.writeDate(cell.address, std::get<QDateTime>(cell.value));
}

// Shows the window's progress frame for the length of a scope.
class PleaseWaitShown {
public:
    explicit PleaseWaitShown(const std::function<void(bool)>& pleaseWait) : m_pleaseWait(pleaseWait)
    {
        if (m_pleaseWait)
            m_pleaseWait(true);
    }
    ~PleaseWaitShown()
    {
        if (m_pleaseWait)
            m_pleaseWait(false);
    }
    PleaseWaitShown(const PleaseWaitShown&) = delete;
    PleaseWaitShown& operator=(const PleaseWaitShown&) = delete;

private:
    const std::function<void(bool)>& m_pleaseWait;
};

} // namespace

FormService::FormService(FormServiceInputs inputs) : m_in(std::move(inputs)) {}

FormResult FormService::printItem(const SelectedRow& row)
{
    return itemCommand(row, Ending::Print);
}

FormResult FormService::exportItem(const SelectedRow& row)
{
    return itemCommand(row, Ending::Show);
}

FormResult FormService::printContact(const SelectedRow& row)
{
    return contactCommand(row, Ending::Print);
}

FormResult FormService::exportContact(const SelectedRow& row)
{
    return contactCommand(row, Ending::Show);
}

FormResult FormService::printPayment(const PaymentFormValues& payment)
{
    return paymentCommand(payment, Ending::Print);
}

FormResult FormService::exportPayment(const PaymentFormValues& payment)
{
    return paymentCommand(payment, Ending::Show);
}

FormResult FormService::itemCommand(const SelectedRow& row, Ending ending)
{
    constexpr FormKind kind = FormKind::Item;
    if (auto no = beginSpreadsheetCommand(m_in.store, m_in.playSound))
        return ended(kind, Status::Refused, no);
    if (auto no = nameRefusal(row, ItemChecks))
        return ended(kind, Status::Refused, no);
    if (auto no = priceRefusal(row, ItemChecks))
        return ended(kind, Status::Refused, no);
    std::optional<int> copies;
    if (ending == Ending::Print) {
        CopiesAnswer answer = AskPrintCopies(m_in.prompts);
        if (!answer.copies)
            return noCopies(kind, std::move(answer));
        copies = answer.copies;
    }
    return fill(kind, QStringLiteral("Please select the Item Form"), recordFormCells(m_in.store, row, platform::now()),
                copies);
}

FormResult FormService::contactCommand(const SelectedRow& row, Ending ending)
{
    constexpr FormKind kind = FormKind::Contact;
    if (auto no = beginSpreadsheetCommand(m_in.store, m_in.playSound))
        return ended(kind, Status::Refused, no);
    if (auto no = nameRefusal(row, ContactChecks))
        return ended(kind, Status::Refused, no);
    // The form shows any balance, none included; only a print wants one.
    if (ending == Ending::Show)
        return fill(kind, QStringLiteral("Please select the Contact Form"),
                    recordFormCells(m_in.store, row, platform::now()), std::nullopt);
    if (auto no = priceRefusal(row, ContactChecks))
        return ended(kind, Status::Refused, no);
    CopiesAnswer answer = AskPrintCopies(m_in.prompts);
    if (!answer.copies)
        return noCopies(kind, std::move(answer));
    return fill(kind, QStringLiteral("Please select the contact Form"),
                recordFormCells(m_in.store, row, platform::now()), answer.copies);
}

FormResult FormService::paymentCommand(const PaymentFormValues& payment, Ending ending)
{
    constexpr FormKind kind = FormKind::Payment;
    std::optional<int> copies;
    if (ending == Ending::Print) {
        CopiesAnswer answer = AskPrintCopies(m_in.prompts);
        if (!answer.copies)
            return noCopies(kind, std::move(answer));
        copies = answer.copies;
    }
    if (auto no = beginSpreadsheetCommand(m_in.store, m_in.playSound))
        return ended(kind, Status::Refused, no);
    if (payment.TransactionNumber.isEmpty())
        return ended(kind, Status::Refused,
                     refusal(copies ? QStringLiteral("Please select the Transaction for printing")
                                    : QStringLiteral("Please select the Transaction for export")));
    return fill(kind, QStringLiteral("Please select the Payment Form"), paymentFormCells(m_in.store, payment), copies);
}

FormResult FormService::fill(FormKind kind, const QString& missingMessage, const FormCells& cells,
                             std::optional<int> copies)
{
    const std::optional<QString> path = FindFormTemplate(m_in.store, kind);
    if (!path)
        return ended(kind, Status::NoTemplate,
                     UserMessage{missingMessage, platform::MsgStyle::Critical, FormMissingTitle});
    return fillTemplate(kind, *path, cells, copies);
}

FormResult FormService::fillTemplate(FormKind kind, const QString& path, const FormCells& cells,
                                     std::optional<int> copies)
{
    const QString name = formName(kind);
    const QString notDone =
        copies ? QStringLiteral("Nothing was printed.") : QStringLiteral("The %1 was not filled.").arg(name);
    const QString notStarted = QStringLiteral("Quorvane could not start the spreadsheet program. ") + notDone;
    // The frame is hidden only after the instance has been quit or handed over.
    const PleaseWaitShown pleaseWait(m_in.pleaseWait);
    std::unique_ptr<platform::Spreadsheet> instance =
        m_in.spreadsheets ? m_in.spreadsheets() : platform::newSpreadsheet();
    if (!instance)
        return failed(kind, notStarted, QString());
    grid::ExcelSession excel(std::move(instance));
    if (!excel.StartHiddenExcel())
        return failed(kind, notStarted, excel.lastError());
    if (!excel.openWorkbook(path, true))
        return failed(kind, QStringLiteral("Quorvane could not open the %1\n%2\n").arg(name, path) + notDone,
                      excel.lastError());
    for (const FormCell& cell : cells)
        if (!writeCell(excel, cell))
            return failed(kind, QStringLiteral("Quorvane could not fill the %1\n%2\n").arg(name, path) + notDone,
                          excel.lastError());
    if (copies) {
        const bool printed = excel.printOut(*copies, false);
        const QString why = printed ? QString() : excel.lastError();
        excel.QuitExcel();
        if (printed)
            return ended(kind, Status::Printed);
        return failed(kind, QStringLiteral("Quorvane could not print the %1. Nothing was printed.").arg(name), why);
    }
    if (excel.handOver())
        return ended(kind, Status::Shown);
    return failed(kind, QStringLiteral("Quorvane could not show the %1 in the spreadsheet program.").arg(name),
                  excel.lastError());
}

} // namespace services
