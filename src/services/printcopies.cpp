#include "services/printcopies.h"

#include "grid/documents/excelsteps.h"
#include "platform/prompts.h"
#include "platform/vb.h"

namespace services {

namespace {

// A refusal of the answer: OK alone, no icon, the program's title.
CopiesAnswer refused(const QString& text)
{
    return {std::nullopt, UserMessage{text, platform::MsgStyle::OkOnly, QString()}};
}

} // namespace

CopiesAnswer AskPrintCopies(platform::Prompts& prompts)
{
    const QString answer = prompts.InputBox(QStringLiteral("Enter number of copies to print:"));
    if (answer.isEmpty())
        return {};
    const std::optional<double> number = platform::vb::CDbl(answer);
    if (!number)
        return refused(QStringLiteral("YOU CAN ENTER ONLY NUMBERS!"));
    if (*number > 100)
        return refused(QStringLiteral("Up to 100 pages!"));
    if (*number < 1)
        return {};
    // A fraction is rounded as the print takes whole copies ("1.5" prints 2).
    return {grid::ExcelSteps::copiesFrom(answer), std::nullopt};
}

} // namespace services
