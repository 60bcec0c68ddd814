// The launcher: its labels and their colours, the document windows opened with their stored
// placement, the settings label, the links and the fixed size of the start-up window.

#include "programfixture.h"
#include "shell/formnames.h"
#include "shell/weblinks.h"
#include "grid/documents/documentlist.h"
#include "windows/document/documentwindow.h"

#include <QDesktopServices>
#include <QTabWidget>
#include <QUrl>

using namespace shelltest;
using platform::Answer;
namespace FormName = shell::FormName;

namespace {

constexpr uint32_t Normal = 14191;
constexpr uint32_t Pointed = 65535;

// Catches the web pages the program opens.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    UrlCatcher() { QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "open"); }
    ~UrlCatcher() override { QDesktopServices::unsetUrlHandler(QStringLiteral("https")); }
    QStringList opened;
public slots:
    void open(const QUrl& url) { opened << url.toString(); }
};

class LauncherTest : public ProgramTest {
protected:
    void SetUp() override
    {
        writeSettings(QStringLiteral("Kos"));
        startProgram();
        waitForProbe();
    }
    QList<shell::LauncherLabel*> launcher()
    {
        return {main().lblItems, main().lblContacts, main().lblTransactions, main().lblPayments, main().lblBalance};
    }
    QList<shell::LauncherLabel*> links() { return {main().HelpwithQV, main().QVWebpage, main().velkorncom}; }
    void pointAtBackground() { moveOver(&main(), QPoint(main().width() / 2 + 40, main().height() / 2)); }
};

TEST_F(LauncherTest, LabelsCarryTheirCaptionsAndColours)
{
    const QStringList captions = {"Items", "Contacts", "Transactions", " Payments", "  Settings"};
    for (int i = 0; i < launcher().size(); ++i) {
        EXPECT_EQ(launcher()[i]->text(), captions[i]);
        EXPECT_EQ(launcher()[i]->ForeColor(), Normal);
        EXPECT_EQ(launcher()[i]->palette().color(QPalette::WindowText), QColor(0x6F, 0x37, 0x00));
    }
    EXPECT_EQ(main().HelpwithQV->text(), QStringLiteral("Help"));
    EXPECT_EQ(main().QVWebpage->text(), QStringLiteral("QV Web Page"));
    EXPECT_EQ(main().velkorncom->text(), shell::WebLinks::MakerAddressCaption);
    for (shell::LauncherLabel* link : links())
        EXPECT_FALSE(link->isVisible());
}

TEST_F(LauncherTest, PointingLightsTheLabelUnderThePointerAndTheBackgroundPutsThemBack)
{
    moveOver(main().lblItems);
    moveOver(main().lblPayments);
    EXPECT_EQ(main().lblItems->ForeColor(), Pointed);
    EXPECT_EQ(main().lblPayments->ForeColor(), Pointed);
    EXPECT_EQ(main().lblContacts->ForeColor(), Normal);

    moveOver(main().imgHelp);
    for (shell::LauncherLabel* link : links()) {
        EXPECT_TRUE(link->isVisible());
        EXPECT_EQ(link->ForeColor(), Normal);
    }
    moveOver(main().QVWebpage);
    EXPECT_EQ(main().QVWebpage->ForeColor(), Pointed);
    moveOver(main().velkorncom);
    EXPECT_EQ(main().velkorncom->ForeColor(), Pointed);
    EXPECT_EQ(main().QVWebpage->ForeColor(), Normal);
    EXPECT_EQ(main().HelpwithQV->ForeColor(), Normal);

    pointAtBackground();
    for (shell::LauncherLabel* label : launcher())
        EXPECT_EQ(label->ForeColor(), Normal);
    for (shell::LauncherLabel* link : links())
        EXPECT_FALSE(link->isVisible());
}

TEST_F(LauncherTest, TheLinksOpenTheHelpAndOurTwoPages)
{
    UrlCatcher urls;
    moveOver(main().imgHelp);
    click(main().HelpwithQV);
    click(main().QVWebpage);
    click(main().velkorncom);
    EXPECT_EQ(help.shown, QStringList{folder.filePath("VURira.chm") + "|Main|Welcome.htm"});
    EXPECT_EQ(urls.opened, (QStringList{shell::WebLinks::ProductPage, shell::WebLinks::MakerHomePage}));
}

// Each label opens the program's own window, made once: a second click brings the same
// window up again.
TEST_F(LauncherTest, EachLabelOpensItsWindowOnce)
{
    // The own company's details complete, so the transactions window's check passes.
    datafiles::SettingsStore& s = program->store();
    s.CompanyCity = QStringLiteral("Split");
    s.CompanyZip = QStringLiteral("21000");
    s.CompanyPhone = QStringLiteral("021 555 000");
    s.CompanyFax = QStringLiteral("021 555 001");
    s.CompanyEMail = QStringLiteral("kos@example.com");
    const struct {
        shell::LauncherLabel* label;
        QString formName;
        QString caption;
    } labels[] = {
        {main().lblItems, FormName::Items, QStringLiteral("Items Group [ Unsaved ]")},
        {main().lblContacts, FormName::Contacts, QStringLiteral("Company [ Unsaved ]")},
        {main().lblTransactions, FormName::Transactions, QStringLiteral("Transaction [ Unsaved ]")},
        {main().lblPayments, FormName::Payments, QStringLiteral("Payment [ Unsaved ]")},
    };
    for (const auto& l : labels) {
        SCOPED_TRACE(l.formName.toStdString());
        click(l.label);
        shell::ProgramWindow* entry = program->windows().find(l.formName);
        ASSERT_TRUE(entry);
        QWidget* first = &entry->form();
        EXPECT_TRUE(first->isVisible());
        EXPECT_EQ(first->windowTitle(), l.caption);
        click(l.label);
        EXPECT_EQ(&program->windows().find(l.formName)->form(), first);
    }
    EXPECT_FALSE(program->ended());
}

// A window closed with its changes discarded is gone: the label opens a fresh one, not the
// closed window with what it held.
TEST_F(LauncherTest, AClosedWindowOpensAfreshFromItsLabel)
{
    click(main().lblItems);
    shell::ProgramWindow* entry = program->windows().find(FormName::Items);
    ASSERT_TRUE(entry);
    auto* items = static_cast<windows::DocumentWindow*>(&entry->form());
    items->List1().ChangeItem(1, 1, QStringLiteral("draft"));
    items->setlblChangeStatus(QStringLiteral("1"));
    prompts->queueAnswer(Answer::No); // Save Changes?
    EXPECT_EQ(items->closeWindow(), windows::CloseOutcome::Closed);
    EXPECT_EQ(program->windows().find(FormName::Items), nullptr);

    click(main().lblItems);
    shell::ProgramWindow* again = program->windows().find(FormName::Items);
    ASSERT_TRUE(again);
    auto* fresh = static_cast<windows::DocumentWindow*>(&again->form());
    EXPECT_TRUE(fresh->isVisible());
    EXPECT_EQ(fresh->List1().GetItem(1, 1), QString());
    EXPECT_EQ(fresh->lblChangeStatus(), QStringLiteral("0"));
}

TEST_F(LauncherTest, ADocumentWindowOpensWithItsStoredPlacementBarsAndRecentFiles)
{
    registerTestWindow(FormName::Contacts);
    datafiles::SettingsStore& s = program->store();
    s.frmContactsLeft = QStringLiteral("1500");
    s.frmContactsTop = QStringLiteral("750");
    s.frmContactsWidth = QStringLiteral("6000");
    s.frmContactsHeight = QStringLiteral("4500");
    s.frmContactstoolbarchecked = QStringLiteral("False");
    s.frmContactsfile2.Caption = QStringLiteral("/data/Kupci.QVC");
    s.frmContactsfile2.ToolTipText = QStringLiteral("Kupci.QVC");

    click(main().lblContacts);
    TestWindow* w = loaded(FormName::Contacts);
    ASSERT_TRUE(w);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->pos(), QPoint(100, 50));
    EXPECT_EQ(w->size(), QSize(400, 300));
    EXPECT_EQ(w->windowState(), Qt::WindowNoState);
    EXPECT_EQ(w->calls, (QStringList{"setBarMenus", "showCheckedBars", "Reposition"}));
    EXPECT_FALSE(w->toolbarChecked);
    EXPECT_FALSE(w->mainbarVisible);
    EXPECT_TRUE(w->textbarChecked);
    EXPECT_TRUE(w->textTextVisible);
    EXPECT_EQ(w->recentCaption[1], QStringLiteral("Kupci.QVC"));
    EXPECT_TRUE(w->recentVisible[1]);
    EXPECT_FALSE(w->recentVisible[0]); // an empty slot keeps its visibility
    EXPECT_FALSE(w->recentVisible[2]);

    // Opened again, a window moved since goes back to its stored placement.
    w->move(300, 200);
    w->resize(200, 100);
    click(main().lblContacts);
    EXPECT_EQ(loaded(FormName::Contacts), w);
    EXPECT_EQ(w->pos(), QPoint(100, 50));
    EXPECT_EQ(w->size(), QSize(400, 300));
    EXPECT_FALSE(program->windows().find(FormName::Items));
}

TEST_F(LauncherTest, ADamagedOrUnseenStoredPlacementOpensTheWindowAtItsInitialPlacement)
{
    registerTestWindow(FormName::Items);
    const struct {
        const char* field;
        QString value;
    } cases[] = {
        {"left", QStringLiteral("abc")},
        {"height", QString()},
        {"state", QStringLiteral("x")},
        {"left", QStringLiteral("-900000")},
        {"top", QStringLiteral("1E+30")},
    };
    const QPoint initialPosition(1275 / 15, 1380 / 15);
    const QSize initialSize(9060 / 15, 6210 / 15);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " " + c.value.toStdString());
        datafiles::SettingsStore& s = program->store();
        s.frmItemsWindowState = QStringLiteral("0");
        s.frmItemsLeft = QStringLiteral("3000");
        s.frmItemsTop = QStringLiteral("3000");
        s.frmItemsHeight = QStringLiteral("3000");
        s.frmItemsWidth = QStringLiteral("3000");
        datafiles::TextField& damaged = QByteArray(c.field) == "left" ? s.frmItemsLeft
            : QByteArray(c.field) == "top"                          ? s.frmItemsTop
            : QByteArray(c.field) == "height"                       ? s.frmItemsHeight
                                                                    : s.frmItemsWindowState;
        damaged = c.value;
        click(main().lblItems);
        TestWindow* w = loaded(FormName::Items);
        ASSERT_TRUE(w);
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(w->pos(), initialPosition);
        EXPECT_EQ(w->size(), initialSize);
    }
}

TEST_F(LauncherTest, TheSettingsLabelShowsTheSettingsWindowInFront)
{
    shell::frmBalance& settings = program->settingsWindow();
    EXPECT_FALSE(settings.isVisible());
    click(main().lblBalance);
    EXPECT_TRUE(settings.isVisible());
    EXPECT_EQ(settings.SSTab1->count(), 5);
    EXPECT_TRUE(prompts->texts().isEmpty());
    // Its close button and the window's own close only hide it.
    click(settings.closeButton);
    EXPECT_FALSE(settings.isVisible());
    click(main().lblBalance);
    settings.close();
    EXPECT_FALSE(settings.isVisible());
    EXPECT_EQ(&program->settingsWindow(), &settings);
}

TEST_F(LauncherTest, TheSettingsLabelInHostModeWithoutAReachableHostFallsBackToSingleMachine)
{
    datafiles::SettingsStore& s = program->store();
    s.setNetworkPathTest([](const QString&) { return true; });
    s.OptionHost = true;
    s.MyHostName = folder.filePath("share/Firma.QVNET");
    s.MyHostSystem = folder.filePath("share/");
    prompts->queueAnswer(Answer::OK);
    click(main().lblBalance);
    ASSERT_EQ(prompts->texts().size(), 1);
    EXPECT_TRUE(prompts->texts().first().startsWith("Quorvane was not able to access network and switched"));
    EXPECT_EQ(prompts->recorded().first().style, platform::MsgStyle::Critical);
    EXPECT_TRUE(s.OptionSingleMachine.value());
    EXPECT_FALSE(s.OptionHost.value());
    EXPECT_EQ(s.MyHostName.value(), folder.filePath("share/Firma.QVNET"));
    EXPECT_TRUE(program->settingsWindow().isVisible());
}

TEST_F(LauncherTest, TheStartupWindowKeepsItsSizeAndIsNeverMaximised)
{
    const QSize fixed(9090 / 15, 6240 / 15);
    EXPECT_EQ(main().size(), fixed);
    main().showMaximized();
    QCoreApplication::processEvents();
    EXPECT_FALSE(main().windowState() & Qt::WindowMaximized);
    EXPECT_EQ(main().size(), fixed);
    main().resize(900, 700);
    EXPECT_EQ(main().size(), fixed);
}

} // namespace

#include "launcher_test.moc"
