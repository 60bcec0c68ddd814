#include "services/formtemplate.h"

#include "datafiles/datafoldertree.h"
#include "datafiles/settingsstore.h"

#include <QFileInfo>

namespace services {

namespace {

bool isFile(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

// The folder the mode's data root lies in is known: always for this machine alone, for a
// host or a user only once its folder is set.
bool dataRootKnown(const datafiles::SettingsStore& store)
{
    switch (store.networkMode()) {
    case datafiles::NetworkMode::Host:
        return !store.MyHostSystem.value().isEmpty();
    case datafiles::NetworkMode::User:
        return !store.lblConnectedtohostsystem.value().isEmpty();
    case datafiles::NetworkMode::SingleMachine:
        break;
    }
    return true;
}

} // namespace

QString formBelowDataRoot(FormKind kind)
{
    switch (kind) {
    case FormKind::Item:
        return datafiles::ItemTemplateFolder + datafiles::ItemTemplateFile;
    case FormKind::Contact:
        return datafiles::ContactTemplateFolder + datafiles::ContactTemplateFile;
    case FormKind::Transaction:
        return datafiles::TransactionTemplateFolder + datafiles::TransactionTemplateFile;
    case FormKind::Payment:
        break;
    }
    return datafiles::PaymentTemplateFolder + datafiles::PaymentTemplateFile;
}

QString chosenFormTemplate(const datafiles::SettingsStore& store, FormKind kind)
{
    switch (kind) {
    case FormKind::Item:
        return store.Item.ToolTipText;
    case FormKind::Contact:
        return store.Contact.ToolTipText;
    case FormKind::Transaction:
        return store.Transaction.ToolTipText;
    case FormKind::Payment:
        break;
    }
    return store.Payment.ToolTipText;
}

std::optional<QString> FindFormTemplate(const datafiles::SettingsStore& store, FormKind kind)
{
    const QString chosen = chosenFormTemplate(store, kind);
    if (!chosen.isEmpty())
        return isFile(chosen) ? std::optional<QString>(chosen) : std::nullopt;
    if (!dataRootKnown(store))
        return std::nullopt;
    const QString fallback = datafiles::DataRoot(store) + formBelowDataRoot(kind);
    return isFile(fallback) ? std::optional<QString>(fallback) : std::nullopt;
}

} // namespace services
