// The window registry: made on first use, once; forgotten when unloaded; a window that
// refuses to close stays.

#include "shell/windowregistry.h"
#include "testwindow.h"

#include "support/scopedprompts.h"

#include <QCoreApplication>
#include <QPointer>
#include <gtest/gtest.h>

using shelltest::TestEntry;
using shelltest::TestWindow;

namespace {

class WindowRegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        registry.add(QStringLiteral("frmA"), [this] {
            ++makes;
            auto* w = new TestWindow(QStringLiteral("A"));
            last = w;
            return std::make_unique<TestEntry>(w);
        });
    }

    shell::WindowRegistry registry;
    int makes = 0;
    QPointer<TestWindow> last;
};

TEST_F(WindowRegistryTest, AWindowIsMadeOnFirstUseAndOnlyOnce)
{
    EXPECT_TRUE(registry.has(QStringLiteral("frmA")));
    EXPECT_FALSE(registry.find(QStringLiteral("frmA")));
    EXPECT_EQ(makes, 0);
    shell::ProgramWindow* a = registry.get(QStringLiteral("frmA"));
    ASSERT_TRUE(a);
    EXPECT_EQ(registry.get(QStringLiteral("frmA")), a);
    EXPECT_EQ(registry.find(QStringLiteral("frmA")), a);
    EXPECT_EQ(makes, 1);
    EXPECT_EQ(registry.loaded(), QStringList{"frmA"});
    // A name without a factory names a window that is not built.
    EXPECT_FALSE(registry.has(QStringLiteral("frmB")));
    EXPECT_FALSE(registry.get(QStringLiteral("frmB")));
    EXPECT_TRUE(registry.unload(QStringLiteral("frmB")));
}

TEST_F(WindowRegistryTest, UnloadingClosesTheWindowAndTheNextUseMakesItAfresh)
{
    registry.get(QStringLiteral("frmA"))->form().show();
    EXPECT_TRUE(registry.unload(QStringLiteral("frmA")));
    EXPECT_FALSE(last); // gone at once
    EXPECT_FALSE(registry.find(QStringLiteral("frmA")));
    registry.get(QStringLiteral("frmA"));
    EXPECT_EQ(makes, 2);
}

TEST_F(WindowRegistryTest, AWindowClosedByTheUserIsForgottenWhenItGoes)
{
    registry.get(QStringLiteral("frmA"))->form().show();
    EXPECT_TRUE(last->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(last);
    EXPECT_FALSE(registry.find(QStringLiteral("frmA")));
    EXPECT_TRUE(registry.loaded().isEmpty());
}

TEST_F(WindowRegistryTest, AWindowThatRefusesToCloseStaysLoaded)
{
    testsupport::ScopedPrompts prompts;
    registry.get(QStringLiteral("frmA"))->form().show();
    last->changed = true;
    prompts->queueAnswer(platform::Answer::Cancel);
    EXPECT_FALSE(registry.unload(QStringLiteral("frmA")));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(last);
    EXPECT_TRUE(last->isVisible());
    EXPECT_EQ(&registry.find(QStringLiteral("frmA"))->form(), last.data());
}

// A window whose own closing steps have the registry forget it, as the document windows'
// do, is deleted at once by the shut-down's unload; one the user closed is deleted at the
// latest when everything is dropped. No window outlives the program whose settings it
// writes to, even when no event loop runs in between.
TEST_F(WindowRegistryTest, AWindowThatForgetsItselfAsItClosesIsGoneBeforeTheProgram)
{
    class ForgettingWindow : public TestWindow {
    public:
        ForgettingWindow(shell::WindowRegistry& registry) : TestWindow(QStringLiteral("F")), m_registry(registry) {}

    protected:
        void closeEvent(QCloseEvent* event) override
        {
            TestWindow::closeEvent(event);
            if (event->isAccepted())
                m_registry.forget(QStringLiteral("frmF"));
        }

    private:
        shell::WindowRegistry& m_registry;
    };
    QPointer<TestWindow> window;
    registry.add(QStringLiteral("frmF"), [&] {
        auto* w = new ForgettingWindow(registry);
        window = w;
        return std::make_unique<TestEntry>(w);
    });

    registry.get(QStringLiteral("frmF"))->form().show();
    EXPECT_TRUE(registry.unload(QStringLiteral("frmF")));
    EXPECT_FALSE(window);

    registry.get(QStringLiteral("frmF"))->form().show();
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(registry.find(QStringLiteral("frmF")));
    registry.dropAll();
    EXPECT_FALSE(window);
}

TEST_F(WindowRegistryTest, DroppingAllRunsNoClosingSteps)
{
    testsupport::ScopedPrompts prompts; // a "Save Changes?" would fail the test
    registry.get(QStringLiteral("frmA"))->form().show();
    last->changed = true;
    registry.dropAll();
    EXPECT_FALSE(last);
    EXPECT_TRUE(registry.loaded().isEmpty());
}

} // namespace
