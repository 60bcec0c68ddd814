#include "datafiles/htmlhelp.h"
#include "platform/desktop.h"
#include "platform/programfolder.h"
#include "support/tempprogramfolder.h"

#include "support/qtprinters.h"

#include <QList>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace datafiles;
using testsupport::TempProgramFolder;

namespace {

struct ShownTopic {
    QString helpFile;
    QString windowName;
    QString topic;
    bool operator==(const ShownTopic&) const = default;
};

// Records what the help wrapper asks the viewer to show, for the life of a test.
class RecordingViewer : public platform::HelpViewer {
public:
    RecordingViewer() { platform::setHelpViewer(this); }
    ~RecordingViewer() override { platform::setHelpViewer(nullptr); }

    bool showTopic(const QString& helpFile, const QString& windowName, const QString& topic) override
    {
        shown.append({helpFile, windowName, topic});
        if (fail)
            throw std::runtime_error("viewer failed");
        return true;
    }

    QList<ShownTopic> shown;
    bool fail = false;
};

} // namespace

TEST(HTMLHelp, TheHelpFileIsVURiraChmInTheProgramFolder)
{
    TempProgramFolder program;
    EXPECT_EQ(HTMLHelp::instance().HHSetHelpFile(1), program.path() + "/VURira.chm");
    EXPECT_EQ(HTMLHelp::instance().HHSetHelpFile(2), "");
}

TEST(HTMLHelp, EveryWindowsTopicReachesTheViewerInTheMainWindow)
{
    TempProgramFolder program;
    RecordingViewer viewer;
    const QString pages[] = {HelpTopic::Welcome, HelpTopic::StepbyStep, HelpTopic::Items,
                             HelpTopic::Contacts, HelpTopic::Transactions, HelpTopic::Payments,
                             HelpTopic::Balance, HelpTopic::Settings2, HelpTopic::Password,
                             HelpTopic::Forms, HelpTopic::Net};
    const QStringList names = {"Welcome.htm", "StepbyStep.htm", "Items.htm", "Contacts.htm",
                               "Transactions.htm", "Payments.htm", "Balance.htm", "Settings2.htm",
                               "Password.htm", "Forms.htm", "Net.htm"};
    QList<ShownTopic> expected;
    for (int i = 0; i < names.size(); ++i) {
        EXPECT_EQ(pages[i], names[i]);
        HTMLHelp::showTopic(pages[i]);
        expected.append({program.path() + "/VURira.chm", "Main", names[i]});
    }
    EXPECT_EQ(viewer.shown, expected);
}

TEST(HTMLHelp, ABlankWindowNameOpensTheFileAloneAndAFailingViewerStaysSilent)
{
    RecordingViewer viewer;
    HTMLHelp& help = HTMLHelp::instance();
    help.CHMFile("/opt/q/VURira.chm");
    help.HHWindow("   ");
    help.HHTopicURL("Net.htm");
    help.HHDisplayTopicURL(0);
    ASSERT_EQ(viewer.shown.size(), 1);
    EXPECT_EQ(viewer.shown[0], (ShownTopic{"/opt/q/VURira.chm", "", "Net.htm"}));

    viewer.fail = true;
    EXPECT_NO_THROW(HTMLHelp::showTopic(HelpTopic::Items));
    EXPECT_EQ(viewer.shown.size(), 2);
}

// The help file opened at its own first page: no topic and no viewer window.
TEST(HTMLHelp, DisplayKeywordOpensTheHelpFileWithoutATopic)
{
    RecordingViewer viewer;
    HTMLHelp& help = HTMLHelp::instance();
    help.CHMFile("/opt/q/VURira.chm");
    help.HHWindow("Main");
    help.HHTopicURL("Net.htm");
    help.HHDisplayKeyword(0);
    EXPECT_EQ(viewer.shown, (QList<ShownTopic>{{"/opt/q/VURira.chm", "", ""}}));

    viewer.fail = true;
    EXPECT_NO_THROW(help.HHDisplayKeyword(0));
}
