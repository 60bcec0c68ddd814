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
};
