// Which form template a command fills: the chosen one while it is chosen, the network mode's
// default otherwise, and none where neither is there.

#include "datafiles/settingsstore.h"
#include "services/formtemplate.h"
#include "support/tempprogramfolder.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

using services::FindFormTemplate;
using services::FormKind;

TEST(FormTemplateTest, LookupPerNetworkModeAndChoice)
{
    enum class Chosen { None, Present, Missing, Folder };
    enum class Found { Nothing, Single, Host, User, Chosen };
    const struct {
        const char* name;
        FormKind kind;
        char mode; // 's', 'h', 'u'
        bool singleFile, hostFile, userFile;
        Chosen chosen;
        Found found;
    } cases[] = {
        {"single, default present", FormKind::Item, 's', true, true, true, Chosen::None, Found::Single},
        {"single, default absent", FormKind::Item, 's', false, true, true, Chosen::None, Found::Nothing},
        {"single, chosen wins over the default", FormKind::Contact, 's', true, false, false, Chosen::Present,
         Found::Chosen},
        {"single, chosen gone though the default exists", FormKind::Contact, 's', true, false, false, Chosen::Missing,
         Found::Nothing},
        {"single, chosen names a folder", FormKind::Item, 's', true, false, false, Chosen::Folder, Found::Nothing},
        {"host, the host's default", FormKind::Payment, 'h', true, true, false, Chosen::None, Found::Host},
        {"host, only this machine's default", FormKind::Payment, 'h', true, false, true, Chosen::None,
         Found::Nothing},
        {"user, the connected host's default", FormKind::Payment, 'u', true, true, true, Chosen::None, Found::User},
        {"user, chosen present", FormKind::Item, 'u', false, false, false, Chosen::Present, Found::Chosen},
        {"user, chosen gone", FormKind::Payment, 'u', false, false, true, Chosen::Missing, Found::Nothing},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const testsupport::TempProgramFolder folder;
        datafiles::SettingsStore store;
        store.setNetworkPathTest([](const QString&) { return true; });
        store.MyHostSystem = folder.path() + "/host/";
        store.lblConnectedtohostsystem = folder.path() + "/connected/";
        store.OptionHost = c.mode == 'h';
        store.OptionUser = c.mode == 'u';
        const QString form = services::formBelowDataRoot(c.kind);
        const auto make = [&](bool present, const QString& root) {
            return present ? folder.writeFile(root + form, "form") : QString();
        };
        const QString expected[] = {QString(), make(c.singleFile, "System/RAzar/"),
                                    make(c.hostFile, "host/QVNET/RAzar/"), make(c.userFile, "connected/QVNET/RAzar/"),
                                    c.chosen == Chosen::Present ? folder.writeFile("forms/Our Form.xls", "form")
                                    : c.chosen == Chosen::Folder ? folder.makeFolder("forms/A Folder.xls")
                                                                 : folder.filePath("forms/Gone.xls")};
        if (c.chosen != Chosen::None)
            (c.kind == FormKind::Item      ? store.Item
             : c.kind == FormKind::Contact ? store.Contact
                                           : store.Payment)
                .ToolTipText = expected[int(Found::Chosen)];

        const std::optional<QString> found = FindFormTemplate(store, c.kind);

        if (c.found == Found::Nothing)
            EXPECT_FALSE(found.has_value()) << found->toStdString();
        else
            EXPECT_EQ(found.value_or("(none)"), expected[int(c.found)]);
    }
}

TEST(FormTemplateTest, EachKindHasItsOwnFolderFileAndChoice)
{
    const testsupport::TempProgramFolder folder;
    datafiles::SettingsStore store;
    const struct {
        FormKind kind;
        const char* below;
        datafiles::TemplateButton& button;
    } kinds[] = {
        {FormKind::Item, "Template/Item/Item Form.xls", store.Item},
        {FormKind::Contact, "Template/Contacts/Contact Form.xls", store.Contact},
        {FormKind::Transaction, "Template/Transaction/Transaction Form.xls", store.Transaction},
        {FormKind::Payment, "Template/Payments/Payment Form.xls", store.Payment},
    };
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.below);
        EXPECT_EQ(services::formBelowDataRoot(k.kind), QString::fromLatin1(k.below));
        EXPECT_FALSE(FindFormTemplate(store, k.kind).has_value());
        const QString fallback = folder.writeFile(QStringLiteral("System/RAzar/") + k.below, "form");
        EXPECT_EQ(FindFormTemplate(store, k.kind).value_or("(none)"), fallback);
        k.button.ToolTipText = folder.writeFile(QStringLiteral("chosen/") + k.below, "form");
        EXPECT_EQ(services::chosenFormTemplate(store, k.kind), k.button.ToolTipText.value());
        EXPECT_EQ(FindFormTemplate(store, k.kind).value_or("(none)"), k.button.ToolTipText.value());
    }
}

// A host or user whose host folder was never set looks for no default at all, not for
// "QVNET/RAzar/..." relative to wherever the program runs.
TEST(FormTemplateTest, AnUnknownHostFolderGivesNoDefault)
{
    const testsupport::TempProgramFolder folder;
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder.path()));
    folder.writeFile(QStringLiteral("QVNET/RAzar/Template/Item/Item Form.xls"), "form");
    for (const bool host : {true, false}) {
        datafiles::SettingsStore store;
        (host ? store.OptionHost : store.OptionUser) = true;
        EXPECT_FALSE(FindFormTemplate(store, FormKind::Item).has_value()) << (host ? "host" : "user");
    }
    QDir::setCurrent(previous);
}

} // namespace
