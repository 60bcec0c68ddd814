#include "platform/clock.h"
#include "platform/commondialog.h"
#include "platform/programfolder.h"
#include "support/environmentoverride.h"
#include "support/pinnedclock.h"
#include "support/scopedprompts.h"
#include "support/tempprogramfolder.h"

#include <QFile>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using platform::Answer;
using testsupport::PromptKind;

TEST(ScriptedPrompts, AnswersInOrderAndRecordsEveryPrompt)
{
    testsupport::ScopedPrompts ui;
    ui->queueAnswer(Answer::Yes);
    ui->queueAnswer(Answer::Cancel);
    ui->queueInput(QStringLiteral("1234"));
    EXPECT_EQ(platform::prompts().MsgBox(QStringLiteral("Save Changes?"), 547, QStringLiteral("Items")), Answer::Yes);
    EXPECT_EQ(platform::prompts().MsgBox(QStringLiteral("Again?"), 547), Answer::Cancel);
    EXPECT_EQ(platform::prompts().InputBox(QStringLiteral("Password:"), QString(), QStringLiteral("x")),
              QStringLiteral("1234"));

    const auto& r = ui->recorded();
    ASSERT_EQ(r.size(), 3);
    EXPECT_EQ(r[0].kind, PromptKind::MsgBox);
    EXPECT_EQ(r[0].style, 547);
    EXPECT_EQ(r[0].title, QStringLiteral("Items"));
    EXPECT_EQ(r[1].title, QStringLiteral("Quorvane"));
    EXPECT_EQ(r[2].kind, PromptKind::InputBox);
    EXPECT_EQ(r[2].defaultText, QStringLiteral("x"));
    EXPECT_EQ(ui->texts(), (QStringList{QStringLiteral("Save Changes?"), QStringLiteral("Again?"),
                                        QStringLiteral("Password:")}));
}

TEST(ScriptedPrompts, UnexpectedPromptFailsTheTestAndNamesTheText)
{
    testsupport::ScriptedPrompts script;
    Answer answer = Answer::OK;
    EXPECT_NONFATAL_FAILURE(answer = script.MsgBox(QStringLiteral("File not found"), 16),
                            "File not found");
    EXPECT_EQ(answer, Answer::Cancel);
    QString input = QStringLiteral("unchanged");
    EXPECT_NONFATAL_FAILURE(input = script.InputBox(QStringLiteral("Name?")), "Name?");
    EXPECT_EQ(input, QString());
    platform::CommonDialog d;
    d.DialogTitle = QStringLiteral("Open Items Group");
    bool chosen = true;
    EXPECT_NONFATAL_FAILURE(chosen = script.ShowOpen(d), "Open Items Group");
    EXPECT_FALSE(chosen);
}

// A test that expected a prompt which never came fails with a message; it must not read
// past the end of the record and take the whole test program down with it.
TEST(ScriptedPrompts, APromptThatWasNotShownFailsTheTestInsteadOfCrashingIt)
{
    testsupport::ScriptedPrompts script;
    int style = -1;
    QString text = QStringLiteral("unchanged");
    EXPECT_NONFATAL_FAILURE(style = script.recorded().first().style, "Entry 0 was asked for, but the list holds 0");
    EXPECT_EQ(style, 0);
    EXPECT_NONFATAL_FAILURE(text = script.texts().last(), "holds 0 entries");
    EXPECT_EQ(text, QString());

    script.queueAnswer(Answer::OK);
    script.MsgBox(QStringLiteral("Saved"));
    EXPECT_EQ(script.recorded().first().text, QStringLiteral("Saved"));
    EXPECT_EQ(script.texts().last(), QStringLiteral("Saved"));
    EXPECT_NONFATAL_FAILURE(text = script.recorded()[1].text, "Entry 1 was asked for, but the list holds 1 entry");
    EXPECT_NONFATAL_FAILURE(text = script.texts().at(-1), "Entry -1");
}

TEST(ScriptedPrompts, LeftoverAnswersFailWhenTheScopeEnds)
{
    EXPECT_NONFATAL_FAILURE(
        {
            testsupport::ScopedPrompts ui;
            ui->queueAnswer(Answer::Yes);
        },
        "never asked for");
}

TEST(ScriptedPrompts, DialogsSetFileNameAndTitleOrCancel)
{
    testsupport::ScopedPrompts ui;
    ui->queueOpen(QStringLiteral("/data/Items/Tools.QVI"));
    ui->queueSaveCancel();
    ui->queueColor(0x00FF00);
    platform::CommonDialog d;
    d.Filter = QStringLiteral("Items Group|*.QVI|");
    d.FileName = QStringLiteral("/old/a.QVI");
    ASSERT_TRUE(platform::prompts().ShowOpen(d));
    EXPECT_EQ(d.FileName, QStringLiteral("/data/Items/Tools.QVI"));
    EXPECT_EQ(d.FileTitle, QStringLiteral("Tools.QVI"));
    EXPECT_EQ(ui->recorded().constLast().dialog.FileName, QStringLiteral("/old/a.QVI"));
    EXPECT_FALSE(platform::prompts().ShowSave(d));
    EXPECT_EQ(d.FileName, QStringLiteral("/data/Items/Tools.QVI"));
    ASSERT_TRUE(platform::prompts().ShowColor(d));
    EXPECT_EQ(d.Color, 0x00FF00u);
}

TEST(ScopedPrompts, RestoresThePreviousPrompts)
{
    platform::Prompts* before = &platform::prompts();
    {
        testsupport::ScopedPrompts outer;
        {
            testsupport::ScopedPrompts inner;
            EXPECT_EQ(&platform::prompts(), &inner.script());
        }
        EXPECT_EQ(&platform::prompts(), &outer.script());
    }
    EXPECT_EQ(&platform::prompts(), before);
}

TEST(TempProgramFolder, SetsAndRestoresTheProgramFolder)
{
    QString outerPath;
    {
        testsupport::TempProgramFolder outer;
        outerPath = outer.path();
        EXPECT_EQ(platform::programFolder(), outerPath);
        {
            testsupport::TempProgramFolder inner;
            EXPECT_EQ(platform::programFolder(), inner.path());
            const QString wav = inner.writeFile(QStringLiteral("System/Sound/2.wav"), "RIFF");
            EXPECT_TRUE(QFile::exists(wav));
        }
        EXPECT_EQ(platform::programFolder(), outerPath);
    }
    EXPECT_NE(platform::programFolder(), outerPath);
}

TEST(PinnedClock, PinsAndReleases)
{
    const QDateTime when(QDate(2025, 12, 31), QTime(23, 59, 59));
    {
        testsupport::PinnedClock clock(when);
        EXPECT_EQ(platform::now(), when);
        clock.advanceSeconds(1);
        EXPECT_EQ(platform::now(), QDateTime(QDate(2026, 1, 1), QTime(0, 0, 0)));
    }
    EXPECT_NE(platform::now(), when.addSecs(1));
}

TEST(EnvironmentOverride, PutsBackASetAndAnUnsetVariable)
{
    const char* name = "QUORVANE_TEST_OVERRIDE";
    for (const QByteArray& before : {QByteArray(), QByteArray(""), QByteArray("old")}) {
        if (before.isNull())
            qunsetenv(name);
        else
            qputenv(name, before);
        for (const QByteArray& during : {QByteArray(), QByteArray("new")}) {
            {
                const testsupport::EnvironmentOverride scoped(name, during);
                EXPECT_EQ(qEnvironmentVariableIsSet(name), !during.isNull());
                EXPECT_EQ(qgetenv(name), during);
            }
            EXPECT_EQ(qEnvironmentVariableIsSet(name), !before.isNull());
            EXPECT_EQ(qgetenv(name), before);
        }
    }
    qunsetenv(name);
}
