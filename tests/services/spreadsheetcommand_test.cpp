// The opening steps of every spreadsheet command (the sound, the refusal while the
// spreadsheet program is unusable) and the copies prompt of the form prints.

#include "datafiles/settingsstore.h"
#include "services/printcopies.h"
#include "services/spreadsheetcommand.h"
#include "support/scopedprompts.h"
#include "support/tempprogramfolder.h"

#include <gtest/gtest.h>

namespace {

TEST(SpreadsheetCommandTest, SoundWhenPresentThenRefusalWhileUnusable)
{
    const services::UserMessage unusable{QStringLiteral("Quorvane failed to initialize Microsoft Excel"),
                                         platform::MsgStyle::Critical, QStringLiteral("Velkorn      Excel Error")};
    const struct {
        bool soundFile;
        const char* status;
        bool refused;
    } cases[] = {{true, "RADI", false}, {false, "RADI", false}, {true, "NERADI", true}, {false, "NERADI", true},
                 {true, "", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.status) + (c.soundFile ? ", sound file" : ", no sound file"));
        const testsupport::TempProgramFolder folder;
        const QString sound = c.soundFile ? folder.writeFile("System/Sound/2.wav", "RIFF") : QString();
        datafiles::SettingsStore store;
        store.lblEXCELSTATUS = QString::fromLatin1(c.status);
        QStringList played;
        const services::SoundPlayer play = [&](const QString& path) { played << path; };

        // The refusal alone plays nothing: an import refuses before its sound.
        EXPECT_EQ(services::spreadsheetRefusal(store).has_value(), c.refused);
        EXPECT_TRUE(played.isEmpty());

        const std::optional<services::UserMessage> refusal = services::beginSpreadsheetCommand(store, play);
        EXPECT_EQ(played, c.soundFile ? QStringList{sound} : QStringList{});
        if (c.refused)
            EXPECT_EQ(refusal.value_or(services::UserMessage{}), unusable);
        else
            EXPECT_FALSE(refusal.has_value());
    }
}

TEST(SpreadsheetCommandTest, CopiesAnswers)
{
    const QString onlyNumbers = QStringLiteral("YOU CAN ENTER ONLY NUMBERS!");
    const QString upTo100 = QStringLiteral("Up to 100 pages!");
    const struct {
        const char* typed;
        int copies; // 0: no print
        QString refusal;
    } cases[] = {
        {"", 0, {}},       // empty, as Cancel gives
        {"abc", 0, onlyNumbers}, {"2 copies", 0, onlyNumbers},
        {"0", 0, {}},      {"-2", 0, {}},  {"0.6", 0, {}}, // below 1: nothing, in silence
        {"1", 1, {}},      {" 3 ", 3, {}}, {"1.5", 2, {}}, {"2.5", 2, {}}, // halves to even
        {"100", 100, {}},  {"100.4", 0, upTo100}, {"101", 0, upTo100}, {"1E3", 0, upTo100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        testsupport::ScopedPrompts prompts;
        prompts->queueInput(QString::fromLatin1(c.typed));

        const services::CopiesAnswer answer = services::AskPrintCopies(prompts.script());

        ASSERT_EQ(prompts->recorded().size(), 1);
        const testsupport::RecordedPrompt& asked = prompts->recorded().first();
        EXPECT_EQ(asked.kind, testsupport::PromptKind::InputBox);
        EXPECT_EQ(asked.text, QStringLiteral("Enter number of copies to print:"));
        EXPECT_EQ(asked.title, QStringLiteral("Quorvane"));
        EXPECT_EQ(asked.defaultText, QString());
        EXPECT_EQ(answer.copies.value_or(0), c.copies);
        if (c.refusal.isEmpty()) {
            EXPECT_FALSE(answer.refusal.has_value());
        } else {
            ASSERT_TRUE(answer.refusal.has_value());
            EXPECT_EQ(*answer.refusal, (services::UserMessage{c.refusal, platform::MsgStyle::OkOnly, QString()}));
        }
    }
}

} // namespace
