#pragma once
// The ground every spreadsheet command test stands on: scripted prompts, the recording
// spreadsheet program, the settings store and windows as fakes, and a grid.

#include "exchangefakes.h"
#include "grid/gridcore.h"
#include "support/recordingspreadsheet.h"
#include "support/scopedprompts.h"

#include <QList>
#include <QString>
#include <gtest/gtest.h>

// Title of every failure message of the spreadsheet commands.
inline const QString excelErrorTitle = QStringLiteral("Velkorn      Excel Error");

class ExchangeTest : public ::testing::Test {
protected:
    testsupport::ScopedPrompts prompts;
    testsupport::ScopedRecordingSpreadsheet excel;
    FakeHost host;
    grid::GridCore grid;

    // The message boxes shown so far, without the input boxes.
    QList<testsupport::RecordedPrompt> messages()
    {
        QList<testsupport::RecordedPrompt> out;
        for (const auto& p : prompts.script().recorded())
            if (p.kind == testsupport::PromptKind::MsgBox)
                out << p;
        return out;
    }

    // Starts one failure case afresh: nothing recorded yet, the spreadsheet program failing
    // as `arrange` says, and the OK for the failure message queued.
    void arrangeFailure(void (*arrange)(testsupport::SpreadsheetLog&))
    {
        prompts->clear();
        excel.log() = testsupport::SpreadsheetLog();
        arrange(excel.log());
        prompts->queueAnswer(platform::Answer::OK);
    }

    // Expects exactly one message box: a failure whose text begins with `start`, with the
    // stop icon and the spreadsheet title. Gives its text ("" when there was not one).
    QString expectOneFailureMessage(const char* start)
    {
        const auto shown = messages();
        EXPECT_EQ(shown.size(), 1);
        if (shown.size() != 1)
            return QString();
        EXPECT_TRUE(shown[0].text.startsWith(QString::fromLatin1(start))) << shown[0].text.toStdString();
        EXPECT_EQ(shown[0].style, platform::MsgStyle::Critical);
        EXPECT_EQ(shown[0].title, excelErrorTitle);
        return shown[0].text;
    }
};
