// The spreadsheet program on the real LibreOffice Calc: starting, workbooks new and opened,
// cells written and read back, printing to a private PDF queue, and never an office left
// running afterwards.

#include "officewatch.h"
#include "privatecups.h"

#include "platform/calc/calc.h"
#include "support/environmentoverride.h"
#include "platform/calc/calcspreadsheet.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
#include <unistd.h>

using platform::calc::CalcOptions;
using platform::calc::CalcSpreadsheet;

namespace {

const QString templateRoot = QStringLiteral(QUORVANE_SOURCE_DIR "/resources/System/RAzar/Template");

QByteArray fileHash(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// Pages of a PDF file (poppler's pdfinfo), or -1.
int pdfPages(const QString& path)
{
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {path});
    if (!info.waitForFinished(20000) || info.exitCode() != 0)
        return -1;
    const QString out = QString::fromUtf8(info.readAll());
    const qsizetype at = out.indexOf(QStringLiteral("Pages:"));
    return at < 0 ? -1 : out.mid(at + 6).section(QLatin1Char('\n'), 0, 0).trimmed().toInt();
}

// Every test ends with no office of ours running, whatever happened in it.
class CalcTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        EXPECT_EQ(officesLeftAfter(::getpid(), 3000), 0) << "an office process was left running";
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(CalcTest, StartProbeSucceedsWithTheOfficeAndFailsCleanlyWithout)
{
    {
        CalcSpreadsheet calc;
        ASSERT_TRUE(calc.start()) << calc.lastError().toStdString();
        EXPECT_EQ(officeProcessesStartedBy(::getpid()), 1);
        calc.setVisible(false);
        calc.setDisplayAlerts(false);
        calc.quit();
        EXPECT_EQ(officeProcessesStartedBy(::getpid()), 0);
    }
    for (const QString& missing : {dir.filePath(QStringLiteral("no-office/soffice")), dir.path()}) {
        CalcOptions options;
        options.officeProgram = missing;
        CalcSpreadsheet calc(options);
        QElapsedTimer clock;
        clock.start();
        EXPECT_FALSE(calc.start());
        EXPECT_LT(clock.elapsed(), 5000);
        EXPECT_TRUE(calc.lastError().contains(missing)) << calc.lastError().toStdString();
        EXPECT_FALSE(calc.addWorkbook());
        EXPECT_FALSE(calc.writeCell(QStringLiteral("A1"), QStringLiteral("x")));
        EXPECT_EQ(calc.readCell(QStringLiteral("A1")), QString());
        EXPECT_FALSE(calc.printActiveSheet(1, true));
        calc.quit();
    }
}

TEST_F(CalcTest, InstalledFactoryGivesCalcAndTheDefaultFailsToStart)
{
    platform::setSpreadsheetFactory({});
    EXPECT_FALSE(platform::newSpreadsheet()->start());
    platform::calc::install();
    const auto calc = platform::newSpreadsheet();
    EXPECT_NE(dynamic_cast<CalcSpreadsheet*>(calc.get()), nullptr);
    platform::setSpreadsheetFactory({});
}

TEST_F(CalcTest, NewWorkbookIsWrittenSavedAndReadBack)
{
    struct Case {
        const char* address;
        QString written;
        QString shown; // what the sheet shows for it
    };
    const std::vector<Case> cases = {
        {"A1", QStringLiteral("Item name"), QStringLiteral("Item name")},
        {"B1", QStringLiteral("12"), QStringLiteral("12")},
        {"C1", QStringLiteral("-3.5"), QStringLiteral("-3.5")},
        {"D1", QStringLiteral("12.50"), QStringLiteral("12.50")}, // text: shown as typed
        {"E1", QStringLiteral("007"), QStringLiteral("007")},
        {"F1", QStringLiteral("=1+1"), QStringLiteral("=1+1")},   // never a formula
        {"G1", QStringLiteral("=SUM(B1:C1)"), QStringLiteral("=SUM(B1:C1)")},
        {"AF1", QStringLiteral("Čćžšđ € ünïcode"), QStringLiteral("Čćžšđ € ünïcode")},
        {"A3", QStringLiteral("'quoted"), QStringLiteral("'quoted")},
        {"C3", QStringLiteral("a, \"b\";\nc"), QStringLiteral("a, \"b\";\nc")},
        {"D3", QStringLiteral("  padded  "), QStringLiteral("  padded  ")},
        {"B3", QString(), QString()},
    };
    const QString file = dir.filePath(QStringLiteral("new.xls"));
    {
        CalcSpreadsheet calc;
        ASSERT_TRUE(calc.start()) << calc.lastError().toStdString();
        ASSERT_TRUE(calc.addWorkbook()) << calc.lastError().toStdString();
        ASSERT_TRUE(calc.writeCell(QStringLiteral("B3"), QStringLiteral("overwritten by an empty text")));
        for (const Case& c : cases)
            ASSERT_TRUE(calc.writeCell(QString::fromLatin1(c.address), c.written));
        EXPECT_TRUE(calc.writeNumber(QStringLiteral("H1"), 0.5));
        EXPECT_TRUE(calc.writeDate(QStringLiteral("I1"), QDateTime(QDate(2026, 3, 7), QTime(14, 30))));
        EXPECT_FALSE(calc.writeCell(QStringLiteral("not-an-address"), QStringLiteral("x")));
        for (const Case& c : cases)
            EXPECT_EQ(calc.readCell(QString::fromLatin1(c.address)), c.shown) << c.address;
        EXPECT_EQ(calc.readCell(QStringLiteral("H1")), QStringLiteral("0.5"));
        const QString date = calc.readCell(QStringLiteral("I1"));
        EXPECT_TRUE(date.contains(QStringLiteral("26")) && date.contains(QStringLiteral(":30"))) << date.toStdString();
        ASSERT_TRUE(calc.saveAs(file)) << calc.lastError().toStdString();
    }
    CalcSpreadsheet calc;
    ASSERT_TRUE(calc.start());
    ASSERT_TRUE(calc.openWorkbook(file, true)) << calc.lastError().toStdString();
    for (const Case& c : cases)
        EXPECT_EQ(calc.readCell(QString::fromLatin1(c.address)), c.shown) << c.address;
    // Numbers stay numbers: a formula written into the sheet by its owner adds them up.
    calc.quit();
}

TEST_F(CalcTest, OurTemplatesOpenReadOnlyAndAreFilledByAddress)
{
    struct Form {
        const char* file;
        std::vector<const char*> cells;
        const char* dateCell;
        const char* numberCell;
    };
    const std::vector<Form> forms = {
        {"Item/Item Form.xls", {"B2", "B8", "D17", "D21", "D23", "B25", "D25", "B83", "D83"}, "D15", "D19"},
        {"Contacts/Contact Form.xls", {"B2", "B8", "D17", "D21", "D23", "B25", "D25", "B83", "D83"}, "D15", "D19"},
        {"Transaction/Transaction Form.xls",
         {"B1", "B7", "B11", "I11", "D14", "D15", "J14", "J15", "F19", "I19", "B20", "E20", "B45", "E45"}, "E11", "C20"},
        {"Payments/Payment Form.xls", {"A2", "A8", "K13", "K19", "D15", "D19", "A22"}, "K14", "D13"},
    };
    for (const Form& form : forms) {
        const QString path = templateRoot + QLatin1Char('/') + QString::fromLatin1(form.file);
        const QByteArray before = fileHash(path);
        ASSERT_FALSE(before.isEmpty()) << form.file;
        {
            CalcSpreadsheet calc;
            ASSERT_TRUE(calc.start()) << calc.lastError().toStdString();
            ASSERT_TRUE(calc.openWorkbook(path, true)) << form.file << calc.lastError().toStdString();
            for (const char* cell : form.cells)
                EXPECT_TRUE(calc.writeCell(QString::fromLatin1(cell), QStringLiteral("v-") + QString::fromLatin1(cell)));
            EXPECT_TRUE(calc.writeDate(QString::fromLatin1(form.dateCell), QDateTime::currentDateTime()));
            EXPECT_TRUE(calc.writeNumber(QString::fromLatin1(form.numberCell), 7));
            for (const char* cell : form.cells)
                EXPECT_EQ(calc.readCell(QString::fromLatin1(cell)), QStringLiteral("v-") + QString::fromLatin1(cell))
                    << form.file << " " << cell;
            EXPECT_EQ(calc.readCell(QString::fromLatin1(form.numberCell)), QStringLiteral("7"));
            EXPECT_TRUE(calc.readCell(QString::fromLatin1(form.dateCell)).contains(QString::number(QDate::currentDate().year() % 100)));
            // The template itself is never written: read-only refuses to store over it.
            EXPECT_FALSE(calc.saveAs(path));
            // Filled, the form still prints on one page.
            const QString pdf = dir.filePath(QFileInfo(path).completeBaseName() + QStringLiteral(".pdf"));
            ASSERT_TRUE(calc.saveAs(pdf)) << calc.lastError().toStdString();
            EXPECT_EQ(pdfPages(pdf), 1) << form.file;
        }
        EXPECT_EQ(fileHash(path), before) << form.file << " was changed";
    }
}

TEST_F(CalcTest, OpeningAWorkbookLeavesNoLockFileBesideIt)
{
    const QString file = dir.filePath(QStringLiteral("user book.xls"));
    {
        CalcSpreadsheet calc;
        ASSERT_TRUE(calc.start());
        ASSERT_TRUE(calc.addWorkbook());
        calc.writeCell(QStringLiteral("A1"), QStringLiteral("kept"));
        ASSERT_TRUE(calc.saveAs(file));
    }
    for (const bool readOnly : {false, true}) {
        CalcSpreadsheet calc;
        ASSERT_TRUE(calc.start());
        ASSERT_TRUE(calc.openWorkbook(file, readOnly));
        EXPECT_EQ(calc.readCell(QStringLiteral("A1")), QStringLiteral("kept"));
        // Were the office killed now, a lock file would stay and make the user's office
        // call the workbook locked.
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("user book.xls")});
    }
}

TEST_F(CalcTest, AMissingOrBrokenWorkbookFailsToOpen)
{
    CalcSpreadsheet calc;
    ASSERT_TRUE(calc.start());
    EXPECT_FALSE(calc.openWorkbook(dir.filePath(QStringLiteral("missing.xls")), true));
    EXPECT_TRUE(calc.lastError().contains(QStringLiteral("missing.xls")));
    EXPECT_FALSE(calc.writeCell(QStringLiteral("A1"), QStringLiteral("x")));
    const QString junk = dir.filePath(QStringLiteral("junk.xls"));
    QFile file(junk);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, '\x01'));
    file.close();
    calc.openWorkbook(junk, true); // may open as some text import; must not hang or crash
    calc.quit();
}

TEST_F(CalcTest, PrintsTheActiveSheetInThreeCopiesToTheDefaultPrinter)
{
    PrivateCups cups;
    if (!cups.start())
        GTEST_SKIP() << cups.error().toStdString();
    CalcSpreadsheet calc;
    ASSERT_TRUE(calc.start()) << calc.lastError().toStdString();
    ASSERT_TRUE(calc.addWorkbook());
    calc.writeCell(QStringLiteral("A1"), QStringLiteral("Printed"));
    calc.writeCell(QStringLiteral("B2"), QStringLiteral("42"));
    ASSERT_TRUE(calc.printActiveSheet(3, true)) << calc.lastError().toStdString();
    calc.quit();
    EXPECT_EQ(cups.waitForPrintedPages(30000), 3);
    EXPECT_EQ(cups.outputPages(), 3);
}

TEST_F(CalcTest, PrintingWithoutAPrinterFailsWithAMessage)
{
    PrivateCups cups;
    if (!cups.start(false))
        GTEST_SKIP() << cups.error().toStdString();
    CalcSpreadsheet calc;
    ASSERT_TRUE(calc.start()) << calc.lastError().toStdString();
    ASSERT_TRUE(calc.addWorkbook());
    calc.writeCell(QStringLiteral("A1"), QStringLiteral("Nowhere to go"));
    EXPECT_FALSE(calc.printActiveSheet(1, true));
    EXPECT_TRUE(calc.lastError().contains(QStringLiteral("printer"))) << calc.lastError().toStdString();
    EXPECT_FALSE(calc.printActiveSheet(0, true));
}

TEST_F(CalcTest, ShowingWithoutADisplayFailsAndQuits)
{
    const testsupport::EnvironmentOverride noDisplay("DISPLAY", QByteArray());
    const testsupport::EnvironmentOverride noWayland("WAYLAND_DISPLAY", QByteArray());
    CalcSpreadsheet calc;
    ASSERT_TRUE(calc.start());
    ASSERT_TRUE(calc.addWorkbook());
    calc.writeCell(QStringLiteral("A1"), QStringLiteral("x"));
    EXPECT_FALSE(calc.setVisible(true));
    EXPECT_FALSE(calc.lastError().isEmpty());
    EXPECT_EQ(officeProcessesStartedBy(::getpid()), 0);
}

TEST_F(CalcTest, SeveralInstancesRunSideBySide)
{
    CalcSpreadsheet first;
    CalcSpreadsheet second;
    ASSERT_TRUE(first.start());
    ASSERT_TRUE(second.start());
    EXPECT_EQ(officeProcessesStartedBy(::getpid()), 2);
    ASSERT_TRUE(first.addWorkbook());
    ASSERT_TRUE(second.addWorkbook());
    first.writeCell(QStringLiteral("A1"), QStringLiteral("first"));
    second.writeCell(QStringLiteral("A1"), QStringLiteral("second"));
    EXPECT_EQ(first.readCell(QStringLiteral("A1")), QStringLiteral("first"));
    EXPECT_EQ(second.readCell(QStringLiteral("A1")), QStringLiteral("second"));
    // Dropped without quit: the destructors end both offices.
}

TEST_F(CalcTest, AnOfficeThatDiesMidwayFailsTheCallsWithoutHanging)
{
    CalcSpreadsheet calc;
    ASSERT_TRUE(calc.start());
    ASSERT_TRUE(calc.addWorkbook());
    // Kill the office behind the instance's back.
    const QList<pid_t> offices = officePidsStartedBy(::getpid());
    ASSERT_EQ(offices.size(), 1);
    ::kill(offices.front(), SIGKILL);
    officesLeftAfter(::getpid(), 3000);
    calc.writeCell(QStringLiteral("A1"), QStringLiteral("lost"));
    EXPECT_EQ(calc.readCell(QStringLiteral("A1")), QString());
    EXPECT_FALSE(calc.lastError().isEmpty());
    EXPECT_FALSE(calc.printActiveSheet(1, true));
    calc.quit();
}

TEST_F(CalcTest, AnOfficeThatStopsAnsweringIsKilledAtQuit)
{
    CalcOptions options;
    options.quitTimeoutMs = 1500;
    CalcSpreadsheet calc(options);
    ASSERT_TRUE(calc.start());
    ASSERT_TRUE(calc.addWorkbook());
    const QList<pid_t> offices = officePidsStartedBy(::getpid());
    ASSERT_EQ(offices.size(), 1);
    ::kill(offices.front(), SIGSTOP); // frozen: it takes calls and never answers
    QElapsedTimer clock;
    clock.start();
    calc.quit();
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_EQ(officeProcessesStartedBy(::getpid()), 0);
}

TEST_F(CalcTest, AnOfficeThatStopsAnsweringIsKilledWhenACallOutlivesItsLimit)
{
    CalcOptions options;
    options.callTimeoutMs = 1500;
    CalcSpreadsheet calc(options);
    ASSERT_TRUE(calc.start());
    ASSERT_TRUE(calc.addWorkbook());
    ASSERT_TRUE(calc.writeCell(QStringLiteral("A1"), QStringLiteral("held")));
    const QList<pid_t> offices = officePidsStartedBy(::getpid());
    ASSERT_EQ(offices.size(), 1);
    ::kill(offices.front(), SIGSTOP); // frozen: it takes calls and never answers
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(calc.readCell(QStringLiteral("A1")), QString());
    EXPECT_FALSE(calc.lastError().isEmpty());
    EXPECT_FALSE(calc.saveAs(dir.filePath(QStringLiteral("frozen.xls"))));
    EXPECT_FALSE(calc.lastError().isEmpty());
    EXPECT_LT(clock.elapsed(), 10000);
    calc.quit();
}

// Run in a child process by the next test: starts an office and dies without cleaning up.
TEST(CalcCrashHelper, StartAndDie)
{
    if (qEnvironmentVariableIsEmpty("QUORVANE_CALC_CRASH_HELPER"))
        GTEST_SKIP() << "only run as the child of OfficeEndsWhenTheProgramDies";
    static CalcSpreadsheet calc;
    if (calc.start())
        ::_exit(0); // no destructor, no quit
    ::_exit(3);
}

TEST_F(CalcTest, OfficeEndsWhenTheProgramDies)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QUORVANE_CALC_CRASH_HELPER"), QStringLiteral("1"));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=CalcCrashHelper.StartAndDie")});
    ASSERT_TRUE(child.waitForStarted());
    const qint64 pid = child.processId();
    ASSERT_TRUE(child.waitForFinished(60000));
    ASSERT_EQ(child.exitCode(), 0);
    EXPECT_EQ(officesLeftAfter(pid_t(pid), 5000), 0);
}
