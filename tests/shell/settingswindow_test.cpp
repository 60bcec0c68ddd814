// The settings window on its Balance, Company, Password and Forms pages: every setting shown
// and written back, the numbers-only fields, the company check, the password, the form
// template pickers.

#include "datafiles/datafilewriter.h"
#include "services/formtemplate.h"
#include "shell/formnames.h"
#include "settingsfixture.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLineEdit>
#include <QTest>

using namespace shelltest;
using platform::Answer;
using testsupport::PromptKind;

namespace {

// A settings file whose 71 lines each hold a value of their own that the load keeps.
QStringList distinctSettingsLines()
{
    QStringList lines;
    for (int n = 1; n <= 46; ++n)
        lines << QStringLiteral("v%1").arg(n);
    lines[1] = QStringLiteral("6211"); // the reader's key line is a number
    lines << QStringLiteral("125.5") << QStringLiteral("17");
    lines << CompanyDetails;
    lines << QStringLiteral("tajno");
    lines << QStringLiteral("/forms/Item.xls") << QStringLiteral("/forms/Contact.xls")
          << QStringLiteral("/forms/Transaction.xls") << QStringLiteral("/forms/Payment.xls");
    lines << QStringLiteral("4") << QStringLiteral("rezerva");
    lines << QStringLiteral("True") << QStringLiteral("False") << QStringLiteral("False");
    lines << QStringLiteral("1") << QStringLiteral("0");
    lines << QStringLiteral("//srv/a/Firma.QVNET") << QStringLiteral("//srv/a/")
          << QStringLiteral("//srv/b/Druga.QVNET") << QStringLiteral("//srv/b/");
    return lines;
}

class SettingsWindowTest : public SettingsTest {};

TEST_F(SettingsWindowTest, EverySettingIsShownAndWrittenBackUnchangedAndAnEditReachesItsLine)
{
    const QStringList lines = distinctSettingsLines();
    ASSERT_EQ(lines.size(), 71);
    datafiles::CreateDataFolders();
    datafiles::LineFileWriter writer(datafiles::LastLineEnd::Written);
    for (const QString& line : lines)
        writer.add(line);
    ASSERT_TRUE(writer.writeTo(datafiles::settingsFilePath()));
    const QByteArray stored = settingsBytes();
    startProgram();
    waitForProbe();
    ASSERT_TRUE(prompts->texts().isEmpty());
    shell::frmBalance& w = settings();

    // Each control shows the line it is bound to.
    const std::vector<std::pair<QLineEdit*, int>> edits{
        {w.Balance, 47},      {w.InvoiceNumber, 48}, {w.CompanyName, 49},  {w.CompanyAddress, 50},
        {w.CompanyCity, 51},  {w.CompanyZip, 52},    {w.CompanyEMail, 53}, {w.CompanyFax, 54},
        {w.CompanyPhone, 55}, {w.PaymentNumber, 61}};
    for (const auto& [edit, line] : edits)
        EXPECT_EQ(edit->text(), lines[line - 1]) << edit->objectName().toStdString();
    const std::vector<std::pair<QPushButton*, int>> forms{{w.Item, 57}, {w.Contact, 58}, {w.Transaction, 59}, {w.Payment, 60}};
    for (const auto& [button, line] : forms)
        EXPECT_EQ(button->toolTip(), lines[line - 1]);
    EXPECT_TRUE(w.OptionSingleMachine->isChecked());
    EXPECT_FALSE(w.OptionHost->isChecked());
    EXPECT_FALSE(w.OptionUser->isChecked());
    EXPECT_TRUE(w.CheckReadWrite->isChecked());
    EXPECT_FALSE(w.CheckUseMyPassword->isChecked());
    EXPECT_FALSE(w.CheckReadWrite->isEnabled());
    EXPECT_EQ(w.MyHostName->text(), lines[67]);
    EXPECT_EQ(w.MyHostSystem->text(), lines[68]);
    EXPECT_EQ(w.lblConnectedtohostname->text(), lines[69]);
    EXPECT_EQ(w.lblConnectedtohostsystem->text(), lines[70]);
    // The lines no control shows are fields of the store, and all 71 go back as they came.
    EXPECT_EQ(store().frmFileSearchtextbarchecked.value(), lines[45]);
    EXPECT_EQ(store().Reserved.value(), lines[61]);
    EXPECT_EQ(store().CURRENTPASSWORD.value(), lines[55]);
    ASSERT_TRUE(datafiles::SaveSettingsFile(store()));
    EXPECT_EQ(settingsBytes(), stored);

    // What the user types is what the file gets.
    program->showSettingsWindow();
    for (const auto& [edit, line] : edits) {
        edit->setFocus();
        edit->end(false);
        QTest::keyClicks(edit, QStringLiteral("9"));
    }
    ASSERT_TRUE(prompts->texts().isEmpty()) << prompts->texts().join('|').toStdString();
    ASSERT_TRUE(datafiles::SaveSettingsFile(store()));
    for (const auto& [edit, line] : edits)
        EXPECT_EQ(settingsLine(line), lines[line - 1] + QStringLiteral("9"));
}

struct NumberCase {
    const char* text;
    const char* expected;
    bool message;
};

TEST_F(SettingsWindowTest, NumberFieldsKeepOnlyNumbersAndSayWhereTheUserCanSeeIt)
{
    startWithCompany();
    showSettingsOn(shell::frmBalance::BalanceTab);
    // Assigned by code while the Balance page is shown.
    for (const NumberCase& c : {NumberCase{"125.50", "125.50", false}, NumberCase{"-3", "-3", false},
                                NumberCase{" 7 ", " 7 ", false}, NumberCase{"12a", "0", true},
                                NumberCase{"", "0", true}}) {
        store().Balance = QStringLiteral("5");
        prompts.script().clear();
        if (c.message)
            prompts->queueAnswer(Answer::OK);
        store().Balance = QString::fromLatin1(c.text);
        EXPECT_EQ(settings().Balance->text(), QString::fromLatin1(c.expected)) << c.text;
        EXPECT_EQ(prompts->texts(), c.message ? QStringList{"YOU CAN ENTER ONLY NUMBERS!"} : QStringList()) << c.text;
    }
    // Typed over the whole text: every text on the way is tested.
    for (const NumberCase& c : {NumberCase{"-", "0", true}, NumberCase{".", "0", true}, NumberCase{"8", "8", false}}) {
        store().InvoiceNumber = QStringLiteral("5");
        prompts.script().clear();
        if (c.message)
            prompts->queueAnswer(Answer::OK);
        settings().InvoiceNumber->selectAll();
        QTest::keyClicks(settings().InvoiceNumber, QString::fromLatin1(c.text));
        EXPECT_EQ(store().InvoiceNumber.value(), QString::fromLatin1(c.expected)) << c.text;
        EXPECT_EQ(prompts->texts().size(), c.message ? 1 : 0) << c.text;
    }
    // On the Network page, and while the window is hidden, the field is reset silently.
    prompts.script().clear();
    settings().SSTab1->setCurrentIndex(shell::frmBalance::NetworkTab);
    store().PaymentNumber = QStringLiteral("x");
    settings().hide();
    store().InvoiceNumber = QStringLiteral("y");
    EXPECT_EQ(settings().PaymentNumber->text(), "0");
    EXPECT_EQ(settings().InvoiceNumber->text(), "0");
    EXPECT_TRUE(prompts->texts().isEmpty());
}

TEST_F(SettingsWindowTest, TheCommaKeyTellsToUseADotAndResetsTheField)
{
    startWithCompany();
    showSettingsOn(shell::frmBalance::BalanceTab);
    for (const Qt::KeyboardModifiers modifiers : {Qt::KeyboardModifiers(Qt::NoModifier), Qt::KeyboardModifiers(Qt::ShiftModifier)}) {
        store().PaymentNumber = QStringLiteral("15");
        prompts->queueAnswer(Answer::OK);
        settings().PaymentNumber->setFocus();
        QTest::keyClick(settings().PaymentNumber, Qt::Key_Comma, modifiers);
        EXPECT_EQ(prompts->recorded().last().text, "For decimals, enter dat only!");
        EXPECT_EQ(prompts->recorded().last().style, platform::MsgStyle::Critical);
        EXPECT_EQ(settings().PaymentNumber->text(), "0");
        EXPECT_EQ(store().PaymentNumber.value(), "0");
    }
}

TEST_F(SettingsWindowTest, TheCompanyCheckWithEveryDetailGivenDoesNothing)
{
    startWithCompany();
    program->PROVERICOMANYINFO();
    EXPECT_TRUE(prompts->texts().isEmpty());
    EXPECT_FALSE(settings().isVisible());
    EXPECT_FALSE(main().isMinimized());
}

TEST_F(SettingsWindowTest, TheCompanyCheckNamesTheFirstEmptyDetailAndBringsUpTheCompanyPage)
{
    startWithCompany();
    registerTestWindow(shell::FormName::Items);
    registerTestWindow(shell::FormName::Contacts);
    click(main().lblItems);
    click(main().lblContacts);
    ASSERT_TRUE(loaded(shell::FormName::Items)->isVisible());
    store().CompanyZip = QString();
    store().CompanyFax = QString();
    prompts->queueAnswer(Answer::OK);

    program->PROVERICOMANYINFO();

    ASSERT_EQ(prompts->texts(), QStringList{"Please Enter Your Company Zip"});
    EXPECT_EQ(prompts->recorded().first().style, platform::MsgStyle::OkOnly);
    EXPECT_TRUE(settings().isVisible());
    EXPECT_EQ(settings().SSTab1->currentIndex(), shell::frmBalance::CompanyTab);
    EXPECT_EQ(settings().focusWidget(), settings().CompanyZip);
    EXPECT_FALSE(loaded(shell::FormName::Items)->isVisible());
    EXPECT_FALSE(loaded(shell::FormName::Contacts)->isVisible());
    EXPECT_TRUE(main().windowState() & Qt::WindowMinimized);
    // The windows keep what they hold.
    EXPECT_TRUE(loaded(shell::FormName::Items));
}

TEST_F(SettingsWindowTest, TheCompanyCheckOnAVisibleWindowSwitchesToTheCompanyPageWithoutMovingTheFocus)
{
    startWithCompany(QStringLiteral("geslo"));
    main().HIDEPASSWORD();
    showSettingsOn(shell::frmBalance::PasswordTab);
    ASSERT_TRUE(prompts->texts().isEmpty());
    settings().closeButton->setFocus();
    store().CompanyName = QString();
    prompts->queueAnswer(Answer::OK);
    program->PROVERICOMANYINFO();
    EXPECT_EQ(prompts->texts(), QStringList{"Please Enter Your Company Name"});
    EXPECT_EQ(settings().SSTab1->currentIndex(), shell::frmBalance::CompanyTab);
    EXPECT_EQ(settings().focusWidget(), settings().closeButton);
}

TEST_F(SettingsWindowTest, ThePasswordPageRefreshesItsStateEachTimeItIsChosen)
{
    startWithCompany();
    showSettingsOn(shell::frmBalance::CompanyTab);
    prompts->queueAnswer(Answer::OK);
    settings().SSTab1->setCurrentIndex(shell::frmBalance::PasswordTab);
    EXPECT_EQ(prompts->texts(), QStringList{"Password security is OFF..."});
    EXPECT_EQ(prompts->recorded().last().style, platform::MsgStyle::Information);
    EXPECT_EQ(settings().cmdPasswordON->text(), "Security OFF");

    // With a detail missing, the company check moves the window to the Company page first.
    settings().SSTab1->setCurrentIndex(shell::frmBalance::FormsTab);
    store().CompanyPhone = QString();
    prompts.script().clear();
    prompts->queueAnswer(Answer::OK);
    prompts->queueAnswer(Answer::OK);
    settings().SSTab1->setCurrentIndex(shell::frmBalance::PasswordTab);
    EXPECT_EQ(prompts->texts(), QStringList({"Please Enter Your Company Phone", "Password security is OFF..."}));
    EXPECT_EQ(settings().SSTab1->currentIndex(), shell::frmBalance::CompanyTab);
}

class PasswordTest : public SettingsTest {
protected:
    void openPasswordPage(const QString& password)
    {
        startWithCompany(password);
        main().HIDEPASSWORD();
        if (password.isEmpty())
            prompts->queueAnswer(Answer::OK); // "Password security is OFF..."
        showSettingsOn(shell::frmBalance::PasswordTab);
        prompts.script().clear();
    }
    void type(const QString& old, const QString& fresh, const QString& confirm)
    {
        settings().OldPassword->setText(old);
        settings().NewPassword->setText(fresh);
        settings().ConfirmNewPassword->setText(confirm);
    }
    bool boxesEmpty()
    {
        return settings().OldPassword->text().isEmpty() && settings().NewPassword->text().isEmpty()
            && settings().ConfirmNewPassword->text().isEmpty();
    }
};

TEST_F(PasswordTest, APasswordIsSetWithTheOldBoxEmptyAndAsksAtTheNextStart)
{
    openPasswordPage(QString());
    type(QString(), QStringLiteral("Tajno1"), QStringLiteral("Tajno1"));
    prompts->queueAnswer(Answer::OK);
    settings().cmdSavePassword->click();
    ASSERT_EQ(prompts->texts(), QStringList{"New Password was successfully saved"});
    EXPECT_EQ(prompts->recorded().first().style, platform::MsgStyle::Information);
    EXPECT_EQ(settings().cmdPasswordON->text(), "Security ON");
    EXPECT_TRUE(boxesEmpty());
    EXPECT_EQ(store().CURRENTPASSWORD.value(), "Tajno1");
    EXPECT_EQ(settingsLine(56), "Tajno1");
}

// The settings file and the host file are Windows-1250 text. A password holding a character
// they lack would be stored with "?" in its place: "Tømrer1" saved, then refused at the next
// start while "T?mrer1" gets in. So the password boxes, and the company detail boxes beside
// them, refuse such a character as it is typed or pasted and name it; "€" is held.
TEST_F(PasswordTest, APasswordOrCompanyDetailRefusesACharacterTheFilesCannotHold)
{
    openPasswordPage(QString());
    const char* boxes[] = {"OldPassword", "NewPassword", "ConfirmNewPassword", "CompanyName", "CompanyAddress",
                           "CompanyCity", "CompanyZip", "CompanyEMail", "CompanyFax", "CompanyPhone"};
    const struct {
        const char* pasted;
        const char* named;
    } refused[] = {{"Tømrer1", "\"ø\" (U+00F8)"}, {"Señor", "\"ñ\" (U+00F1)"}, {"東京", "\"東\" (U+6771)"},
                   {"pw😀", "\"😀\" (U+1F600)"}};
    for (const char* name : boxes) {
        QLineEdit* box = settings().findChild<QLineEdit*>(QString::fromLatin1(name));
        ASSERT_NE(box, nullptr) << name;
        const QString stored = box->text();
        for (const auto& r : refused) {
            prompts->queueAnswer(Answer::OK);
            QApplication::clipboard()->setText(QString::fromUtf8(r.pasted));
            box->paste();
            EXPECT_EQ(box->text(), stored) << name;
            ASSERT_FALSE(prompts->texts().isEmpty()) << name;
            EXPECT_TRUE(prompts->texts().last().contains(QString::fromUtf8(r.named)))
                << name << ": " << prompts->texts().last().toStdString();
        }
    }
    EXPECT_EQ(store().CompanyName.value(), CompanyDetails[0]);

    // Typed one key at a time: the refused key is left out, the others stay.
    settings().NewPassword->setFocus();
    prompts->queueAnswer(Answer::OK);
    QTest::keyClicks(settings().NewPassword, QString::fromUtf8("Tø"));
    EXPECT_EQ(settings().NewPassword->text(), QStringLiteral("T"));

    // What the files hold is saved and is the password of the next start.
    prompts.script().clear();
    type(QString(), QString::fromUtf8("T€mrer1"), QString::fromUtf8("T€mrer1"));
    prompts->queueAnswer(Answer::OK);
    settings().cmdSavePassword->click();
    ASSERT_EQ(prompts->texts(), QStringList{"New Password was successfully saved"});
    EXPECT_EQ(settingsLine(56), QString::fromUtf8("T€mrer1"));
}

struct Refusal {
    const char* current;
    const char* old;
    const char* fresh;
    const char* confirm;
    const char* message;
    const char* focus;
};

TEST_F(PasswordTest, AWrongOldPasswordOrAnUnconfirmedNewOneChangesNothing)
{
    for (const Refusal& r : {Refusal{"", "x", "nova", "nova", "Your Old Password is not correct", "OldPassword"},
                             Refusal{"abc", "ABC", "nova", "nova", "Your Old Password is not correct", "OldPassword"},
                             Refusal{"abc", "abc", "Nova", "nova", "Your New Password is not confirmed ",
                                     "ConfirmNewPassword"}}) {
        SCOPED_TRACE(r.message);
        program.reset();
        openPasswordPage(QString::fromLatin1(r.current));
        const QByteArray before = settingsBytes();
        type(QString::fromLatin1(r.old), QString::fromLatin1(r.fresh), QString::fromLatin1(r.confirm));
        prompts->queueAnswer(Answer::OK);
        settings().cmdSavePassword->click();
        EXPECT_EQ(prompts->texts(), QStringList{QString::fromLatin1(r.message)});
        EXPECT_EQ(prompts->recorded().first().style, platform::MsgStyle::Critical);
        EXPECT_EQ(settings().focusWidget()->objectName(), QString::fromLatin1(r.focus));
        EXPECT_EQ(store().CURRENTPASSWORD.value(), QString::fromLatin1(r.current));
        EXPECT_EQ(settingsBytes(), before);
        EXPECT_EQ(settings().NewPassword->text(), QString::fromLatin1(r.fresh));
        prompts.script().clear();
    }
}

TEST_F(PasswordTest, AnEmptyNewPasswordOrSecurityOffRemovesThePasswordOnlyOnYes)
{
    for (QPushButton* shell::frmBalance::*button : {&shell::frmBalance::cmdSavePassword, &shell::frmBalance::cmdPasswordON}) {
        program.reset();
        openPasswordPage(QStringLiteral("abc"));
        const QString question = button == &shell::frmBalance::cmdSavePassword
            ? QStringLiteral("Your New Password is empty. Turn off password security ?")
            : QStringLiteral("Turn off password security ?");
        type(QStringLiteral("abc"), QString(), QString());
        prompts->queueAnswer(Answer::No);
        (settings().*button)->click();
        ASSERT_EQ(prompts->texts(), QStringList{question});
        EXPECT_EQ(prompts->recorded().first().title, "Password Security Warning!");
        EXPECT_EQ(prompts->recorded().first().style, platform::MsgStyle::YesNo);
        EXPECT_EQ(store().CURRENTPASSWORD.value(), "abc");

        prompts.script().clear();
        prompts->queueAnswer(Answer::Yes);
        prompts->queueAnswer(Answer::OK);
        prompts->queueAnswer(Answer::OK);
        (settings().*button)->click();
        EXPECT_EQ(prompts->texts(),
                  QStringList({question, "New Password was successfully saved", "Password security is OFF..."}));
        EXPECT_EQ(store().CURRENTPASSWORD.value(), "");
        EXPECT_EQ(settingsLine(56), "");
        EXPECT_EQ(settings().cmdPasswordON->text(), "Security OFF");
        EXPECT_TRUE(boxesEmpty());
        prompts.script().clear();
    }
}

TEST_F(PasswordTest, TheNewPasswordBoxesTakeTenCharacters)
{
    openPasswordPage(QString());
    for (QLineEdit* box : {settings().NewPassword, settings().ConfirmNewPassword}) {
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("12345678901"));
        EXPECT_EQ(box->text(), "1234567890");
    }
    QTest::keyClicks(settings().OldPassword, QStringLiteral("12345678901"));
    EXPECT_EQ(settings().OldPassword->text(), "12345678901");
}

TEST_F(PasswordTest, APasswordWhoseSettingsFileCannotBeWrittenDoesNotTakeEffect)
{
    openPasswordPage(QStringLiteral("abc"));
    // A folder where the settings file should be: no write can replace it.
    QFile::remove(datafiles::settingsFilePath());
    ASSERT_TRUE(QDir().mkpath(datafiles::settingsFilePath()));
    type(QStringLiteral("abc"), QStringLiteral("nova"), QStringLiteral("nova"));
    prompts->queueAnswer(Answer::OK);
    settings().cmdSavePassword->click();
    ASSERT_EQ(prompts->texts().size(), 1);
    EXPECT_TRUE(prompts->texts().first().contains(datafiles::settingsFilePath())) << prompts->texts().first().toStdString();
    EXPECT_EQ(prompts->recorded().first().style, platform::MsgStyle::Critical);
    EXPECT_EQ(store().CURRENTPASSWORD.value(), "abc");
    EXPECT_EQ(settings().NewPassword->text(), "nova");
    EXPECT_EQ(settings().OldPassword->text(), "abc");
}

class FormsTest : public SettingsTest {
protected:
    QString workbook(const QString& name) { return folder.writeFile(QStringLiteral("forms/") + name, "xls"); }
};

TEST_F(FormsTest, APickerOpensInTheKindsFolderAndTakesAChosenWorkbookThatExists)
{
    startWithCompany();
    showSettingsOn(shell::frmBalance::FormsTab);
    const QString chosen = workbook(QStringLiteral("Moj obrazec.xls"));
    prompts->queueOpen(chosen);
    settings().Item->click();
    ASSERT_EQ(prompts->recorded().size(), 1);
    const testsupport::RecordedPrompt& shown = prompts->recorded().first();
    EXPECT_EQ(shown.kind, PromptKind::ShowOpen);
    EXPECT_EQ(shown.text, "SELECT ITEM FORM");
    EXPECT_EQ(shown.dialog.Filter, "Excel files (*.XLS)|*.XLS|Excel Templates (*.XLT) |*.XLT|");
    EXPECT_EQ(shown.dialog.InitDir, folder.filePath("System/RAzar/Template/Item/"));
    EXPECT_EQ(store().Item.ToolTipText.value(), chosen);
    EXPECT_EQ(settings().Item->toolTip(), chosen);
    EXPECT_EQ(main().CommonDialog5.FileName, chosen);

    // The next picker proposes the same file; Cancel and a file that is not there keep the
    // choice as it was.
    prompts->queueOpenCancel();
    settings().Transaction->click();
    EXPECT_EQ(prompts->recorded().last().dialog.FileName, chosen);
    EXPECT_EQ(prompts->recorded().last().text, "SELECT TRANSACTION FORM");
    EXPECT_EQ(prompts->recorded().last().dialog.InitDir, folder.filePath("System/RAzar/Template/Transaction/"));
    EXPECT_EQ(store().Transaction.ToolTipText.value(), "");
    prompts->queueOpen(folder.filePath("forms/gone.xls"));
    settings().Item->click();
    EXPECT_EQ(store().Item.ToolTipText.value(), chosen);
}

TEST_F(FormsTest, AChosenTemplateIsTheOneFoundAndAnEmptyChoiceFallsBackToTheDefault)
{
    startWithCompany();
    const QString defaultForm = folder.writeFile(QStringLiteral("System/RAzar/Template/Payments/Payment Form.xls"), "xls");
    const QString chosen = workbook(QStringLiteral("Placilo.xls"));
    prompts->queueOpen(chosen);
    program->pickFormTemplate(services::FormKind::Payment);
    EXPECT_TRUE(settings().isVisible());
    EXPECT_EQ(settings().SSTab1->currentIndex(), shell::frmBalance::FormsTab);
    EXPECT_EQ(prompts->recorded().last().text, "SELECT PAYMENT FORM");
    EXPECT_EQ(services::FindFormTemplate(store(), services::FormKind::Payment), chosen);

    store().Payment.ToolTipText = QString();
    EXPECT_EQ(settings().Payment->toolTip(), "");
    EXPECT_EQ(services::FindFormTemplate(store(), services::FormKind::Payment), defaultForm);
    ASSERT_TRUE(datafiles::SaveSettingsFile(store()));
    EXPECT_EQ(settingsLine(60), "");
}

TEST_F(FormsTest, APickerOpensInTheHostsFolderInHostAndUserMode)
{
    startWithCompany();
    const QString share = shareFolder();
    for (bool host : {true, false}) {
        if (host) {
            store().OptionHost = true;
            store().MyHostSystem = share;
        } else {
            store().OptionUser = true;
            store().lblConnectedtohostsystem = share;
            store().CheckReadWrite.Value = 1;
        }
        prompts->queueOpenCancel();
        program->pickFormTemplate(services::FormKind::Payment);
        EXPECT_EQ(prompts->recorded().last().dialog.InitDir, share + "QVNET/RAzar/Template/Payments/");
    }
}

TEST_F(FormsTest, ANetworkUserWithoutWritingAndAnIncompleteCompanyGetNoDialog)
{
    startWithCompany();
    store().OptionUser = true;
    for (services::FormKind kind : {services::FormKind::Item, services::FormKind::Contact,
                                    services::FormKind::Transaction, services::FormKind::Payment}) {
        prompts.script().clear();
        prompts->queueAnswer(Answer::OK);
        program->pickFormTemplate(kind);
        EXPECT_EQ(prompts->texts(), QStringList{"Network users are not allowed to edit files. Contact your network "
                                                "host for assistance. "});
    }
    store().OptionSingleMachine = true;
    store().CompanyCity = QString();
    prompts.script().clear();
    prompts->queueAnswer(Answer::OK);
    settings().Contact->click();
    EXPECT_EQ(prompts->texts(), QStringList{"Please Enter Your Company City"});
    EXPECT_EQ(settings().SSTab1->currentIndex(), shell::frmBalance::CompanyTab);
    EXPECT_EQ(store().Contact.ToolTipText.value(), "");
}

TEST_F(SettingsWindowTest, HelpImagesShowTheirPagesTopics)
{
    startWithCompany();
    program->showSettingsWindow();
    const std::vector<std::pair<QWidget*, QString>> images{
        {settings().Image8, "Balance.htm"}, {settings().Image9, "Settings2.htm"}, {settings().Image10, "Password.htm"},
        {settings().Image11, "Forms.htm"}, {settings().Image7, "Net.htm"}};
    for (const auto& [image, topic] : images) {
        click(image);
        ASSERT_FALSE(help.shown.isEmpty());
        EXPECT_TRUE(help.shown.last().endsWith(QStringLiteral("|Main|") + topic)) << help.shown.last().toStdString();
    }
}

} // namespace
