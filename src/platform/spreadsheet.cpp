// The factory holder for the spreadsheet program and the A1 address helpers.

#include "platform/spreadsheet.h"

namespace platform {

namespace {

// An instance that cannot start: every call fails, saying why.
class NoSpreadsheet final : public Spreadsheet {
public:
    explicit NoSpreadsheet(QString why) : m_why(std::move(why)) {}
    bool start() override { return fail(); }
    void setDisplayAlerts(bool) override {}
    bool setVisible(bool visible) override { return visible ? fail() : true; }
    bool addWorkbook() override { return fail(); }
    bool openWorkbook(const QString&, bool) override { return fail(); }
    bool writeCell(const QString&, const QString&) override { return fail(); }
    bool writeNumber(const QString&, double) override { return fail(); }
    bool writeDate(const QString&, const QDateTime&) override { return fail(); }
    QString readCell(const QString&) override { return QString(); }
    std::vector<int> filledColumns(int, int) override { return {}; }
    bool printActiveSheet(int, bool) override { return fail(); }
    bool show() override { return fail(); }
    void quit() override {}
    QString lastError() const override { return m_why; }

private:
    static bool fail() { return false; }
    QString m_why;
};

SpreadsheetFactory& installedFactory()
{
    static SpreadsheetFactory factory;
    return factory;
}

std::function<bool()>& installedCheck()
{
    static std::function<bool()> check;
    return check;
}

} // namespace

bool spreadsheetStarts()
{
    if (const std::function<bool()>& check = installedCheck())
        return check();
    const std::unique_ptr<Spreadsheet> excel = newSpreadsheet();
    if (!excel->start())
        return false;
    if (!excel->setVisible(false))
        return false;
    excel->setDisplayAlerts(false);
    excel->quit();
    return true;
}

void setSpreadsheetCheck(std::function<bool()> check)
{
    installedCheck() = std::move(check);
}

std::unique_ptr<Spreadsheet> newSpreadsheet()
{
    if (const SpreadsheetFactory& factory = installedFactory())
        return factory();
    // Without an installed implementation every start fails, so the start-up check reports
    // the program as missing.
    return unavailableSpreadsheet(QStringLiteral("No spreadsheet program is available on this computer."));
}

std::unique_ptr<Spreadsheet> unavailableSpreadsheet(const QString& why)
{
    return std::make_unique<NoSpreadsheet>(why);
}

void setSpreadsheetFactory(SpreadsheetFactory factory)
{
    installedFactory() = std::move(factory);
    installedCheck() = nullptr;
}

bool Spreadsheet::writeRow(int row, int firstColumn, std::span<const QString> texts)
{
    // A row or column outside the sheet makes an address that is none, which writeCell refuses.
    const QString number = QString::number(row);
    int column = firstColumn;
    for (const QString& text : texts)
        if (!writeCell(columnLetters(column++) + number, text))
            return false;
    return true;
}

bool parseCellAddress(const QString& address, int& column, int& row)
{
    constexpr long long maxColumn = maxSheetColumn;
    constexpr long long maxRow = maxSheetRow;
    long long col = 0;
    long long r = 0;
    int i = 0;
    const int n = int(address.size());
    for (; i < n && address[i].isLetter() && address[i].unicode() < 128; ++i) {
        col = col * 26 + (address[i].toUpper().unicode() - 'A' + 1);
        if (col > maxColumn)
            return false;
    }
    if (i == 0 || i == n || address[i] == QLatin1Char('0'))
        return false;
    for (; i < n; ++i) {
        const char16_t c = address[i].unicode();
        if (c < '0' || c > '9')
            return false;
        r = r * 10 + (c - '0');
        if (r > maxRow)
            return false;
    }
    column = int(col);
    row = int(r);
    return true;
}

QString columnLetters(int column)
{
    QString letters;
    while (column > 0) {
        const int rest = (column - 1) % 26;
        letters.prepend(QChar(char16_t('A' + rest)));
        column = (column - 1) / 26;
    }
    return letters;
}

} // namespace platform
