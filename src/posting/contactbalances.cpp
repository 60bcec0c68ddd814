#include "posting/contactbalances.h"

#include "platform/vb.h"
#include "posting/filechangeset.h"

#include <QFileInfo>

namespace posting {

namespace {

// Two spellings of one file are one file.
QString keyOf(const QString& path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

} // namespace

QStringList ContactBalances::companyFiles(const std::vector<Party>& parties)
{
    QStringList files;
    for (const Party& party : parties)
        files.append(party.companyFile);
    return files;
}

ContactBalances::Status ContactBalances::apply(const std::vector<Party>& parties)
{
    for (const Party& party : parties) {
        const Status status = move(party);
        if (status != Status::Ready) {
            m_problemParty = party;
            return status;
        }
    }
    return Status::Ready;
}

CompanyFile* ContactBalances::fileOf(const QString& path)
{
    const QString key = keyOf(path);
    if (const auto found = m_files.find(key); found != m_files.end())
        return &found->second;
    CompanyFile file;
    if (auto opened = file.open(path); !opened) {
        m_error = opened.error;
        return nullptr;
    }
    m_order.push_back(key);
    return &m_files.emplace(key, std::move(file)).first->second;
}

ContactBalances::Status ContactBalances::move(const Party& party)
{
    CompanyFile* file = fileOf(party.companyFile);
    if (!file)
        return Status::FileUnreadable;
    const auto row = file->contactRow(party.rowText, party.contact);
    if (!row)
        return Status::ContactNotFound;
    if (party.change.isZero())
        return Status::Ready; // nothing moves, and the cell stays as it is
    if (!file->hasBalanceColumn())
        return Status::NoBalanceColumn;
    m_balanceText = file->balanceText(*row);
    if (platform::vb::IsAmbiguousNumber(m_balanceText))
        return Status::BalanceAmbiguous;
    // An empty balance is a balance of 0.
    const auto balance = platform::Decimal::fromTextOrZero(m_balanceText);
    if (!balance)
        return Status::BalanceNotNumber;
    m_newBalance = *balance + party.change;
    if (m_newBalance.range() == platform::Decimal::Range::TooLarge)
        return Status::BalanceTooLarge;
    if (!m_newBalance.writtenExactly())
        return Status::BalanceNotExact;
    file->setBalanceText(*row, m_newBalance.text());
    return Status::Ready;
}

void ContactBalances::addFiles(FileChangeSet& files)
{
    for (const QString& key : m_order) {
        CompanyFile& file = m_files.at(key);
        if (file.changed()) {
            const QString path = file.path();
            files.add(path, file.takeBytes());
        }
    }
}

} // namespace posting
