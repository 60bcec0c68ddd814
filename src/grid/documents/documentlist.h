#pragma once
// DocumentList: the grid control as the document windows embed it. It is the grid widget
// List with the document members of the control, by their names: the list file (OpenFile,
// SaveFile, SaveFileAs), find and replace (FindText, FindAndReplaceText), the spreadsheet
// exchange (importexcel, exporttoexcel) and the transaction form (exporttotransactionform).
// It owns one of each of the classes that do that work on its core and adds nothing of its
// own: the members return what those classes return.
//
// The spreadsheet members need the program around the grid (setExchangeHost); the
// transaction form also needs the settings and the transactions window
// (setTransactionForm). Until then those members refuse (false) and do nothing.

#include "grid/documents/gridfile.h"
#include "grid/documents/gridfinder.h"
#include "grid/list.h"

#include <QString>
#include <cstdint>
#include <memory>

namespace grid {

class ExcelExchange;
class ExchangeHost;
class SelectionFindView;
class TransactionForm;
class TransactionFormSettings;
class TransactionFormSource;

class DocumentList : public List {
    Q_OBJECT
public:
    explicit DocumentList(QWidget* parent = nullptr);
    ~DocumentList() override;

    // The program around the grid: its ActiveList callbacks and its spreadsheet state. Not
    // owned; nullptr takes it away.
    void setExchangeHost(ExchangeHost* host);
    // What the transaction form reads; not owned.
    void setTransactionForm(TransactionFormSettings* settings, TransactionFormSource* transaction);

    // ---- The list file
    [[nodiscard]] platform::FileResult OpenFile(const QString& FileName) { return m_file.OpenFile(FileName); }
    [[nodiscard]] platform::FileResult SaveFile(const QString& FileName, bool Encrypted)
    {
        return m_file.SaveFile(FileName, Encrypted);
    }
    [[nodiscard]] platform::FileResult SaveFileAs(const QString& FileName, bool Encrypted)
    {
        return m_file.SaveFileAs(FileName, Encrypted);
    }
    // Whether the file's text can hold every caption and cell a save writes; SaveFile and
    // SaveFileAs refuse with this message, and a caller of SaveFileBytes asks first.
    [[nodiscard]] platform::FileResult checkStorable(const QString& FileName) const
    {
        return m_file.checkStorable(FileName);
    }
    // The bytes SaveFile would write, for a caller that writes them with other files as one
    // change, and the grid's record of its file once that caller has written them.
    [[nodiscard]] QByteArray SaveFileBytes(const QString& FileName, bool Encrypted) const
    {
        return m_file.SaveFileBytes(FileName, Encrypted);
    }
    void SaveFileWritten(const QString& FileName, bool Encrypted) { m_file.SaveFileWritten(FileName, Encrypted); }
    const QString& OpenedFileName() const { return m_file.OpenedFileName(); }
    // How the file the last OpenFile read was cut short; empty for a whole file.
    const std::optional<ListFileCut>& openedCut() const { return m_file.openedCut(); }
    bool iIsEncrypted() const { return m_file.iIsEncrypted(); }

    // ---- Find and replace
    bool FindText(const QString& Text, bool ExactMatch = false) { return m_finder.FindText(Text, ExactMatch); }
    bool FindAndReplaceText(const QString& SrcText, const QString& NewText, bool All = false,
                            bool ExactMatch = false)
    {
        return m_finder.FindAndReplaceText(SrcText, NewText, All, ExactMatch);
    }

    // ---- The spreadsheet exchange and the transaction form
    bool importexcel(const QString& FileName, int32_t Rows);
    bool exporttoexcel();
    bool exporttotransactionform();

private:
    void rebuildTransactionForm();

    GridFile m_file;
    std::unique_ptr<SelectionFindView> m_findView;
    GridFinder m_finder;
    ExchangeHost* m_host = nullptr;
    std::unique_ptr<ExcelExchange> m_exchange;
    TransactionFormSettings* m_formSettings = nullptr;
    TransactionFormSource* m_formTransaction = nullptr;
    std::unique_ptr<TransactionForm> m_form;
};

} // namespace grid
