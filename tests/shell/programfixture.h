#pragma once
// A running program in a temporary program folder: scripted prompts, a recording spreadsheet
// program, a recording help viewer, and an end of the run that is only counted. Test windows
// can be registered under the document windows' names before or after the start.

#include "datafiles/datafoldertree.h"
#include "datafiles/linefilereader.h"
#include "datafiles/settingsfile.h"
#include "datafiles/settingsstore.h"
#include "platform/desktop.h"
#include "shell/frmbalance.h"
#include "shell/frmmain.h"
#include "shell/launcherlabel.h"
#include "shell/program.h"
#include "shell/welcomeframe.h"
#include "support/qtprinters.h"
#include "support/recordingspreadsheet.h"
#include "support/scopedprompts.h"
#include "support/tempprogramfolder.h"
#include "testwindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace shelltest {

inline const QString FirstRunMessage = QStringLiteral(
    " Welcome to Quorvane! Please take a moment and enter your Company Name, Address and other "
    "Information before beginning. ");
inline const QString ExcelMessage = QStringLiteral(
    "Quorvane for Excel (FX) failed to initialize Microsoft Excel. You can still continue to use QVFX "
    "but your export to excel buttons will not be available");
inline const QString ExcelTitle = QStringLiteral("Velkorn      Excel Error");

// Records the help topics asked for.
class RecordingHelpViewer : public platform::HelpViewer {
public:
    RecordingHelpViewer() { platform::setHelpViewer(this); }
    ~RecordingHelpViewer() override { platform::setHelpViewer(nullptr); }
    bool showTopic(const QString& helpFile, const QString& windowName, const QString& topic) override
    {
        shown << QStringLiteral("%1|%2|%3").arg(helpFile, windowName, topic);
        return true;
    }
    testsupport::CheckedList<QString> shown;
};

class ProgramTest : public ::testing::Test {
protected:
    ~ProgramTest() override { program.reset(); }

    // A settings file as a previous run left it: the company given, and the password.
    void writeSettings(const QString& companyName, const QString& password = QString())
    {
        datafiles::CreateDataFolders();
        datafiles::SettingsStore store;
        store.CompanyName = companyName;
        store.CompanyAddress = QStringLiteral("Ulica 1");
        store.CURRENTPASSWORD = password;
        ASSERT_TRUE(datafiles::SaveSettingsFile(store));
    }

    QByteArray settingsBytes() const
    {
        QFile file(datafiles::settingsFilePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    bool settingsExist() const { return QFile::exists(datafiles::settingsFilePath()); }
    // Line n (1-based) of the settings file as it rests.
    QString settingsLine(int n) const
    {
        const auto reading = datafiles::LineFileReader::read(datafiles::settingsFilePath(),
                                                             datafiles::LineFileReader::numberOnLine(2));
        return datafiles::LineFileReader::line(reading.lines, n).value_or(QStringLiteral("<none>"));
    }

    // Registers a test window under a form name; it is made on first use.
    void registerTestWindow(const QString& formName)
    {
        program->windows().add(formName, [this, formName] {
            auto* window = new TestWindow(formName);
            made[formName] = window;
            return std::make_unique<TestEntry>(window);
        });
    }
    TestWindow* loaded(const QString& formName)
    {
        shell::ProgramWindow* entry = program->windows().find(formName);
        return entry ? static_cast<TestWindow*>(&entry->form()) : nullptr;
    }

    void makeProgram() { program = std::make_unique<shell::Program>([this] { ++endCalls; }); }
    void startProgram()
    {
        if (!program)
            makeProgram();
        program->start();
    }
    // The spreadsheet probe runs once the start-up window has been drawn.
    void waitForProbe()
    {
        ASSERT_TRUE(QTest::qWaitFor([this] { return program->startupProbeDone(); }, 60000));
    }
    shell::frmMain& main() { return program->startupWindow(); }

    // The login prompt: a password typed and Enter pressed; the launcher or the prompt shown.
    void typePassword(const QString& text)
    {
        main().txtpassword->setText(text);
        QTest::keyClick(main().txtpassword, Qt::Key_Return);
    }
    bool launcherShown()
    {
        return main().lblItems->isVisible() && main().lblBalance->isVisible() && !main().txtpassword->isVisible();
    }
    bool loginShown()
    {
        return !main().lblItems->isVisible() && main().lblPlease->isVisible() && main().txtpassword->isVisible()
            && main().OKSecurity->isVisible() && main().CancelSecurity->isVisible() && main().ImageKey->isVisible();
    }

    static void moveOver(QWidget* widget, QPoint at = QPoint(2, 2))
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    }
    static void click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2)); }

    testsupport::TempProgramFolder folder;
    testsupport::ScopedPrompts prompts;
    testsupport::ScopedRecordingSpreadsheet spreadsheet;
    RecordingHelpViewer help;
    int endCalls = 0;
    std::map<QString, TestWindow*> made;
    std::unique_ptr<shell::Program> program;
};

} // namespace shelltest
