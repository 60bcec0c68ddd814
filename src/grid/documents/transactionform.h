#pragma once
// The transaction form: fills the form workbook with the own company, the transaction's
// header and its line items, then shows it to the user or prints it (exporttotransactionform).

#include <QString>
#include <optional>

namespace grid {

class ExcelSession;
class ExchangeHost;
class GridCore;
class TransactionFormSettings;
class TransactionFormSource;

class TransactionForm {
public:
    TransactionForm(GridCore& grid, ExchangeHost& host, TransactionFormSettings& settings,
                    TransactionFormSource& transaction);

    // Fills the form. With an empty copies text the filled form is shown to the user;
    // otherwise that many copies are printed and the instance is quit. Without a form the
    // user is sent to the settings window's form picker and nothing is filled. The copies
    // text is empty again on every way out. True when the form was shown or printed.
    bool exporttotransactionform();

    // The form to fill: the one chosen in the settings window while it exists; while none
    // is chosen, the default "Transaction Form.xls" below the network mode's data folder
    // when it exists. Nothing when neither applies.
    static std::optional<QString> findTemplate(const TransactionFormSettings& settings);

    // The file name, with its extension, of a path ("/a/b/Acme Ltd.QVC" gives "Acme Ltd.QVC");
    // both "/" and "\" separate folders, as paths kept by other installations may use either.
    static QString GetFileNameOnly(const QString& path);

private:
    void askForTemplate();
    bool fillHeader(ExcelSession& excel);
    bool fillRows(ExcelSession& excel);
    bool showToUser(ExcelSession& excel);
    bool printCopies(ExcelSession& excel, const QString& copiesText);

    GridCore& m_grid;
    ExchangeHost& m_host;
    TransactionFormSettings& m_settings;
    TransactionFormSource& m_transaction;
};

} // namespace grid
