// Windows the program places lie wholly on the screen that shows them: a stored placement
// that would not (by its position or by its size) gives way to the window's initial
// placement, and the frame the window system adds is kept on the screen as well.

#include "programfixture.h"
#include "shell/formnames.h"

#include <QScreen>
#include <functional>
#include <QTabWidget>

using namespace shelltest;
namespace FormName = shell::FormName;

namespace {

constexpr int Twips = 15;

QRect areaOf(const QWidget& window)
{
    return window.screen()->availableGeometry();
}

std::string describe(const QRect& r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString();
}

class OnScreenTest : public ProgramTest {
protected:
    // A settings file whose item window placement (lines 1 to 5) is the one given, in twips.
    void startWithItemPlacement(const QString& left, const QString& top, const QString& height, const QString& width)
    {
        datafiles::CreateDataFolders();
        datafiles::SettingsStore s;
        s.CompanyName = QStringLiteral("Kos");
        s.CompanyAddress = QStringLiteral("Ulica 1");
        s.frmItemsLeft = left;
        s.frmItemsTop = top;
        s.frmItemsHeight = height;
        s.frmItemsWidth = width;
        ASSERT_TRUE(datafiles::SaveSettingsFile(s));
        startProgram();
        waitForProbe();
    }
    QWidget* openItems()
    {
        click(main().lblItems);
        shell::ProgramWindow* entry = program->windows().find(FormName::Items);
        return entry ? &entry->form() : nullptr;
    }
};

struct StoredCase {
    const char* name;
    // In pixels, from the screen's available area.
    std::function<QRect(const QRect& area)> stored;
};

void PrintTo(const StoredCase& c, std::ostream* os)
{
    *os << c.name;
}

class StoredItemPlacement : public OnScreenTest, public ::testing::WithParamInterface<StoredCase> {};

// The item window's stored size and position as the settings file holds them; one that does
// not lie wholly on the screen opens the window at its initial placement.
TEST_P(StoredItemPlacement, OpensTheItemWindowAtItsInitialPlacement)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect stored = GetParam().stored(area);
    startWithItemPlacement(QString::number(stored.x() * Twips), QString::number(stored.y() * Twips),
                           QString::number(stored.height() * Twips), QString::number(stored.width() * Twips));
    QWidget* items = openItems();
    ASSERT_TRUE(items);
    EXPECT_TRUE(items->isVisible());
    EXPECT_EQ(items->pos(), QPoint(1275 / Twips, 1380 / Twips));
    EXPECT_EQ(items->size(), QSize(9060 / Twips, 6210 / Twips));
    EXPECT_TRUE(areaOf(*items).contains(items->frameGeometry())) << describe(items->frameGeometry());
}

INSTANTIATE_TEST_SUITE_P(
    OnScreen, StoredItemPlacement,
    ::testing::Values(
        StoredCase{"HigherAndWiderThanTheScreen",
                   [](const QRect& a) { return QRect(a.topLeft(), a.size() + QSize(400, 400)); }},
        StoredCase{"HigherThanTheScreen", [](const QRect& a) { return QRect(a.x(), a.y(), 600, a.height() + 1); }},
        StoredCase{"RunningOffTheBottom",
                   [](const QRect& a) { return QRect(a.x() + 40, a.bottom() - 300 + 15, 600, 300); }},
        StoredCase{"RunningOffTheLeft", [](const QRect& a) { return QRect(a.x() - 15, a.y() + 40, 600, 300); }}),
    [](const ::testing::TestParamInfo<StoredCase>& info) { return std::string(info.param.name); });

// A stored size that fills the screen is the user's: it is kept, and only the frame around
// it is brought back onto the screen.
TEST_F(OnScreenTest, AWindowStoredAtTheScreensFullSizeOpensWithItsFrameOnTheScreen)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    startWithItemPlacement(QString::number(area.x() * Twips), QString::number(area.y() * Twips),
                           QString::number(area.height() * Twips), QString::number(area.width() * Twips));
    QWidget* items = openItems();
    ASSERT_TRUE(items);
    EXPECT_TRUE(area.contains(items->frameGeometry())) << describe(items->frameGeometry());
    EXPECT_GT(items->height(), area.height() - 60);
}

// The settings window, left by the user partly below the screen's bottom edge and brought up
// again by the launcher or by the company check, stands wholly on the screen.
TEST_F(OnScreenTest, TheSettingsWindowIsBroughtUpWhollyOnTheScreen)
{
    writeSettings(QStringLiteral("Kos"));
    startProgram();
    waitForProbe();
    shell::frmBalance& settings = program->settingsWindow();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    for (const char* route : {"launcher", "company check"}) {
        SCOPED_TRACE(route);
        settings.hide();
        settings.move(area.x() + 100, area.bottom() - settings.height() + 15);
        if (QByteArray(route) == "launcher") {
            click(main().lblBalance);
        } else {
            prompts->queueAnswer(platform::Answer::OK); // the city is not given
            program->PROVERICOMANYINFO();
        }
        ASSERT_TRUE(settings.isVisible());
        EXPECT_TRUE(areaOf(settings).contains(settings.frameGeometry())) << describe(settings.frameGeometry());
    }
}

} // namespace
