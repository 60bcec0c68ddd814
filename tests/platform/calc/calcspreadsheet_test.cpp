// The spreadsheet program on the real LibreOffice Calc: one office for the whole run,
// started on first use, started again when it died and ended with the program; workbooks new
// and opened, cells written and read back as numbers or texts, printing to a private PDF
// queue, and never an office or a workbook left behind.

#include "officeprobe.h"
#include "officewatch.h"
#include "privatecups.h"

#include "platform/calc/calc.h"
#include "platform/calc/calcspreadsheet.h"
#include "platform/calc/officeprofile.h"
#include "platform/vb.h"
#include "support/environmentoverride.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
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
    if (!info.waitForFinished(120000) || info.exitCode() != 0)
        return -1;
    const QString out = QString::fromUtf8(info.readAll());
    const qsizetype at = out.indexOf(QStringLiteral("Pages:"));
    return at < 0 ? -1 : out.mid(at + 6).section(QLatin1Char('\n'), 0, 0).trimmed().toInt();
}

// A launcher script in the test's folder that runs the office as the script's body says.
QString writeLauncher(const QTemporaryDir& dir, const QString& name, const QByteArray& body)
{
    const QString path = dir.filePath(name);
    QFile script(path);
    if (!script.open(QIODevice::WriteOnly))
        return QString();
    script.write("#!/bin/sh\n" + body);
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

const QByteArray officeBinary = "/usr/lib/libreoffice/program/soffice.bin";

// Every test ends with at most the program's one office running, and holding no workbook:
// each instance closes its own.
class CalcTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // A write into the connection of an office killed by a test fails as an error, as
        // it does in the program, instead of ending the test program.
        std::signal(SIGPIPE, SIG_IGN);
    }

    void TearDown() override
    {
        const int offices = officesLeftAfter(::getpid(), 0);
        EXPECT_LE(offices, 1) << "more offices than the program's one were left running";
        OfficeProbe probe;
        if (offices == 1 && probe.connect()) {
            EXPECT_EQ(probe.openDocuments(), 0) << "a workbook was left open in the office";
        }
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
    }
    for (const QString& missing : {dir.filePath(QStringLiteral("no-office/soffice")), dir.path()}) {
        CalcOptions options;
        options.officeProgram = missing;
        CalcSpreadsheet calc(options);
        EXPECT_FALSE(calc.start());
        EXPECT_TRUE(calc.lastError().contains(missing)) << calc.lastError().toStdString();
        EXPECT_FALSE(calc.addWorkbook());
        EXPECT_FALSE(calc.writeCell(QStringLiteral("A1"), QStringLiteral("x")));
        EXPECT_EQ(calc.readCell(QStringLiteral("A1")), QString());
        EXPECT_FALSE(calc.printActiveSheet(1, true));
        calc.quit();
    }
}

TEST_F(CalcTest, OneOfficeServesEveryCommandOfTheRunAndStartsAgainWhenEnded)
{
    QList<pid_t> first;
    {
        CalcSpreadsheet calc;
        ASSERT_TRUE(calc.start()) << calc.lastError().toStdString();
        ASSERT_TRUE(calc.addWorkbook());
        calc.quit();
        first = officePidsStartedBy(::getpid());
        ASSERT_EQ(first.size(), 1) << "the office stays for the next command";
    }
    {
        CalcSpreadsheet calc;
        ASSERT_TRUE(calc.start());
        ASSERT_TRUE(calc.addWorkbook());
        EXPECT_EQ(officePidsStartedBy(::getpid()), first) << "the next command uses the same office";
    }
    platform::calc::endOffice();
    EXPECT_EQ(officeProcessesStartedBy(::getpid()), 0);
    CalcSpreadsheet calc;
    ASSERT_TRUE(calc.start()) << calc.lastError().toStdString();
    ASSERT_TRUE(calc.addWorkbook());
    ASSERT_EQ(officeProcessesStartedBy(::getpid()), 1);
    EXPECT_NE(officePidsStartedBy(::getpid()), first);
}

// The first spreadsheet command of every run starts the office in a fresh profile. Such a
// start used to draw a series of test pictures on large surfaces before it answered (a
// headless office never notes down that it has drawn them, so it did so on every start):
// seconds of work and over 100 MB more, which with several offices starting at once on a
// fresh machine missed the start time or crashed short of memory (exit code 134). The office
// leaves the pictures' log in its profile when it draws them.
TEST_F(CalcTest, AFreshProfileStartsWithoutTheOfficesDrawingSelfTest)
{
    platform::calc::endOffice();
    CalcSpreadsheet calc;
    ASSERT_TRUE(calc.start()) << calc.lastError().toStdString();
    ASSERT_TRUE(calc.addWorkbook()) << calc.lastError().toStdString();
    const QStringList profiles = QDir(QDir::tempPath())
                                     .entryList({QStringLiteral("quorvane-office-%1-*").arg(::getpid())}, QDir::Dirs);
    ASSERT_EQ(profiles.size(), 1);
    EXPECT_TRUE(QFileInfo::exists(QDir::tempPath() + QLatin1Char('/') + profiles.front() + QStringLiteral("/user")));
    EXPECT_FALSE(QFileInfo::exists(QDir::tempPath() + QLatin1Char('/') + profiles.front()
                                   + QStringLiteral("/user/GraphicsRenderTests.log")));
}

TEST_F(CalcTest, AStartThatCrashesIsTriedAgainAndReportedWhenItKeepsCrashing)
{
    const QString once = writeLauncher(dir, QStringLiteral("crashes-once"),
                                       "if [ ! -e \"$0.crashed\" ]; then : > \"$0.crashed\"; kill -ABRT $$; fi\nexec "
                                           + officeBinary + " \"$@\"\n");
    {
        CalcOptions options;
        options.officeProgram = once;
        CalcSpreadsheet calc(options);
        ASSERT_TRUE(calc.start()) << calc.lastError().toStdString();
        EXPECT_TRUE(QFile::exists(once + QStringLiteral(".crashed")));
        ASSERT_TRUE(calc.addWorkbook());
    }
    platform::calc::endOffice();
    CalcOptions options;
    options.officeProgram = writeLauncher(dir, QStringLiteral("crashes-always"), "kill -ABRT $$\n");
    CalcSpreadsheet calc(options);
    EXPECT_FALSE(calc.start());
    EXPECT_TRUE(calc.lastError().contains(QStringLiteral("exit code 134"))) << calc.lastError().toStdString();
    EXPECT_TRUE(calc.lastError().contains(QStringLiteral("3 times"))) << calc.lastError().toStdString();
    EXPECT_EQ(officeProcessesStartedBy(::getpid()), 0);
}

// The start-up check starts the office without talking to it, and leaves it for the first
// command, which takes it over instead of starting a second one.
TEST_F(CalcTest, TheStartUpCheckStartsTheOfficeTheFirstCommandThenUses)
{
    platform::calc::endOffice();
    platform::calc::install();
    ASSERT_TRUE(platform::spreadsheetStarts());
    const QList<pid_t> checked = officePidsStartedBy(::getpid());
    ASSERT_EQ(checked.size(), 1);
    EXPECT_TRUE(platform::spreadsheetStarts()) << "a second check keeps the office it started";
    EXPECT_EQ(officePidsStartedBy(::getpid()), checked);
    {
        CalcSpreadsheet calc;
        ASSERT_TRUE(calc.start()) << calc.lastError().toStdString();
        ASSERT_TRUE(calc.addWorkbook()) << calc.lastError().toStdString();
        ASSERT_TRUE(calc.writeCell(QStringLiteral("A1"), QStringLiteral("12")));
        EXPECT_EQ(calc.readCell(QStringLiteral("A1")), QStringLiteral("12"));
        EXPECT_EQ(officePidsStartedBy(::getpid()), checked);
        calc.quit();
    }
    platform::calc::endOffice();
    EXPECT_EQ(officesLeftAfter(::getpid(), 60000), 0);
    platform::setSpreadsheetFactory({});
}

// What the check leaves is ended with everything else: an office nobody took over, and its
// profile folder; an office that died before the first command is replaced by it; and a check
// that fails leaves nothing running.
TEST_F(CalcTest, AnOfficeTheStartUpCheckLeftIsEndedOrReplacedAndAFailedCheckLeavesNothing)
{
    platform::calc::endOffice();
    const auto profiles = [] {
        return QDir(QDir::tempPath()).entryList({QStringLiteral("quorvane-office-%1-*").arg(::getpid())}, QDir::Dirs);
    };
    platform::calc::install();
    ASSERT_TRUE(platform::spreadsheetStarts());
    ASSERT_EQ(profiles().size(), 1);
    platform::calc::endOffice();
    EXPECT_EQ(officesLeftAfter(::getpid(), 60000), 0);
    EXPECT_TRUE(profiles().isEmpty());

    ASSERT_TRUE(platform::spreadsheetStarts());
    const QList<pid_t> checked = officePidsStartedBy(::getpid());
    ASSERT_EQ(checked.size(), 1);
    ::kill(checked.front(), SIGKILL);
    ASSERT_EQ(officesLeftAfter(::getpid(), 60000), 0);
    {
        CalcSpreadsheet calc;
        ASSERT_TRUE(calc.start()) << calc.lastError().toStdString();
        ASSERT_TRUE(calc.addWorkbook()) << calc.lastError().toStdString();
        const QList<pid_t> started = officePidsStartedBy(::getpid());
        ASSERT_EQ(started.size(), 1);
        EXPECT_NE(started, checked);
        calc.quit();
    }
    platform::calc::endOffice();

    const QString crashing = writeLauncher(dir, QStringLiteral("crashes-always"), "kill -ABRT $$\n");
    for (const QString& program : {dir.filePath(QStringLiteral("no-office/soffice")), crashing}) {
        CalcOptions options;
        options.officeProgram = program;
        platform::calc::install(options);
        EXPECT_FALSE(platform::spreadsheetStarts()) << program.toStdString();
        EXPECT_EQ(officesLeftAfter(::getpid(), 60000), 0) << program.toStdString();
        EXPECT_TRUE(profiles().isEmpty()) << program.toStdString();
    }
    platform::setSpreadsheetFactory({});
}

// The version the office's configuration names, found in a file read a block at a time: also
// where the name is cut by a block's end, and after a name whose value is not a version.
TEST(OfficeProfile, TheVersionIsFoundAfterItsNameWhereverTheFileCutsIt)
{
    const QByteArray name = "oor:name=\"ooSetupVersion\"";
    struct Case {
        const char* what;
        QByteArray text;
        QString version;
    };
    const QByteArray filler(64 * 1024 - 10, 'x');
    const Case cases[] = {
        {"plain", "<prop " + name + "><value>7.4</value></prop>", QStringLiteral("7.4")},
        {"white space", "<prop " + name + ">\n  \t<value>24.8</value>", QStringLiteral("24.8")},
        {"cut by a block", filler + "<prop " + name + "><value>7.5</value>", QStringLiteral("7.5")},
        {"value cut by a block", QByteArray(64 * 1024 - 40, 'x') + name + "><value>7.6</value>", QStringLiteral("7.6")},
        {"first is no version", name + "><value>beta</value>" + filler + name + "><value>7.1</value>",
         QStringLiteral("7.1")},
        {"too far away", name + ">" + QByteArray(60, ' ') + "<value>7.4</value>", QString()},
        {"no dot", name + "><value>74</value>", QString()},
        {"unclosed", name + "><value>7.4", QString()},
        {"no name", "<value>7.4</value>", QString()},
    };
    for (const Case& c : cases) {
        QBuffer file;
        file.setData(c.text);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(platform::calc::OfficeProfile::versionIn(file), c.version) << c.what;
    }
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9]+\\.[0-9]+$"))
                    .match(platform::calc::OfficeProfile::installedVersion())
                    .hasMatch())
        << "the installed office's own configuration";
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
        bool number; // what the stored cell holds; it shows the written text either way
    };
    const std::vector<Case> cases = {
        {"A1", QStringLiteral("Item name"), false},
        {"B1", QStringLiteral("12"), true},
        {"C1", QStringLiteral("-3.5"), true},
        {"D1", QStringLiteral("24.50"), true}, // 24.5 shown with its two decimals
        {"E1", QStringLiteral("3.20"), true},
        {"F1", QStringLiteral("98.00"), true},
        {"G1", QStringLiteral("1.75"), true},
        {"H1", QStringLiteral("123456789012345"), true},
        {"J1", QStringLiteral("0.000001"), true},
        {"K1", QStringLiteral("007"), false}, // an identifier, not seven
        {"L1", QStringLiteral("-0"), false},
        {"M1", QStringLiteral("1,5"), false},
        {"N1", QStringLiteral("1E5"), false},
        {"O1", QStringLiteral("=1+1"), false}, // never a formula
        {"P1", QStringLiteral("=SUM(B1:C1)"), false},
        {"AF1", QStringLiteral("Čćžšđ € ünïcode"), false},
        {"A3", QStringLiteral("'quoted"), false},
        {"C3", QStringLiteral("a, \"b\";\nc"), false},
        {"D3", QStringLiteral("  padded  "), false},
        {"B3", QString(), false},
    };
    // A whole row, written without addresses: B5 to E5.
    const QString row[] = {QStringLiteral("Bolt"), QStringLiteral("0.50"), QStringLiteral("0042"), QString()};
    const QDateTime when(QDate(2026, 12, 10), QTime(9, 30, 5));
    const QString file = dir.filePath(QStringLiteral("new.xls"));
    {
        CalcSpreadsheet calc;
        ASSERT_TRUE(calc.start()) << calc.lastError().toStdString();
        ASSERT_TRUE(calc.addWorkbook()) << calc.lastError().toStdString();
        ASSERT_TRUE(calc.writeCell(QStringLiteral("B3"), QStringLiteral("overwritten by an empty text")));
        ASSERT_TRUE(calc.writeCell(QStringLiteral("E5"), QStringLiteral("emptied by the row")));
        for (const Case& c : cases)
            ASSERT_TRUE(calc.writeCell(QString::fromLatin1(c.address), c.written));
        ASSERT_TRUE(calc.writeRow(5, 2, row));
        EXPECT_FALSE(calc.writeRow(0, 1, row));
        EXPECT_FALSE(calc.writeRow(1, 16384, row));
        EXPECT_TRUE(calc.writeNumber(QStringLiteral("Q1"), 0.5));
        EXPECT_TRUE(calc.writeDate(QStringLiteral("R1"), when));
        EXPECT_FALSE(calc.writeCell(QStringLiteral("not-an-address"), QStringLiteral("x")));
        for (const Case& c : cases)
            EXPECT_EQ(calc.readCell(QString::fromLatin1(c.address)), c.written) << c.address;
        EXPECT_EQ(calc.readCell(QStringLiteral("Q1")), QStringLiteral("0.5"));
        // A date shows as the program writes dates everywhere else.
        EXPECT_EQ(calc.readCell(QStringLiteral("R1")), platform::vb::GeneralDate(when));
        ASSERT_TRUE(calc.saveAs(file)) << calc.lastError().toStdString();
    }
    {
        CalcSpreadsheet calc;
        ASSERT_TRUE(calc.start());
        ASSERT_TRUE(calc.openWorkbook(file, true)) << calc.lastError().toStdString();
        for (const Case& c : cases)
            EXPECT_EQ(calc.readCell(QString::fromLatin1(c.address)), c.written) << c.address;
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(calc.readCell(platform::columnLetters(2 + k) + QStringLiteral("5")), row[k]) << k;
        EXPECT_EQ(calc.readCell(QStringLiteral("R1")), platform::vb::GeneralDate(when));
    }
    // Numbers are stored as numbers, so the sheet's owner can add a price column up.
    OfficeProbe probe;
    ASSERT_TRUE(probe.connect());
    for (const Case& c : cases) {
        const OfficeProbe::Cell cell = probe.cell(file, c.address);
        EXPECT_EQ(cell.isNumber, c.number) << c.address;
        if (c.number) {
            EXPECT_EQ(cell.value, c.written.toDouble()) << c.address;
        }
    }
    // A row with a cell of two lines is fitted to them.
    EXPECT_GT(probe.cell(file, "C3").rowHeight, probe.cell(file, "A1").rowHeight);
    EXPECT_EQ(probe.cell(file, "C5").value, 0.5);
    EXPECT_FALSE(probe.cell(file, "D5").isNumber);
    EXPECT_TRUE(probe.cell(file, "R1").isNumber) << "a date is a date value";
}

TEST_F(CalcTest, OurTemplatesOpenReadOnlyAndAreFilledByAddress)
{
    struct Form {
        const char* file;
        std::vector<const char*> cells;
        const char* dateCell;
        const char* numberCell;
        const char* zipCell;   // a text cell: what is written stays text as typed
        const char* priceCell; // a cell of its own number format, if any: a typed number is a number
    };
    const std::vector<Form> forms = {
        {"Item/Item Form.xls", {"B2", "B8", "D17", "D21", "D23", "B25", "D25", "B83", "D83"}, "D15", "D19", "B5", "D23"},
        {"Contacts/Contact Form.xls", {"B2", "B8", "D17", "D21", "D23", "B25", "D25", "B83", "D83"}, "D15", "D19", "B5", "D23"},
        {"Transaction/Transaction Form.xls",
         {"B1", "B7", "B11", "I11", "D14", "D15", "J14", "J15", "F19", "I19", "B20", "E20", "B45", "E45"}, "E11", "C20",
         "B4", "I11"},
        {"Payments/Payment Form.xls", {"A2", "A8", "K13", "K19", "D15", "D19", "A22"}, "K14", "D13", "A5", "D15"},
    };
    const QDateTime when(QDate(2026, 12, 10), QTime(9, 30, 0));
    OfficeProbe probe;
    for (const Form& form : forms) {
        const QString path = templateRoot + QLatin1Char('/') + QString::fromLatin1(form.file);
        const QByteArray before = fileHash(path);
        ASSERT_FALSE(before.isEmpty()) << form.file;
        const QString filled = dir.filePath(QFileInfo(path).completeBaseName() + QStringLiteral(" filled.xls"));
        {
            CalcSpreadsheet calc;
            ASSERT_TRUE(calc.start()) << calc.lastError().toStdString();
            ASSERT_TRUE(calc.openWorkbook(path, true)) << form.file << calc.lastError().toStdString();
            for (const char* cell : form.cells)
                EXPECT_TRUE(calc.writeCell(QString::fromLatin1(cell), QStringLiteral("v-") + QString::fromLatin1(cell)));
            EXPECT_TRUE(calc.writeDate(QString::fromLatin1(form.dateCell), when));
            EXPECT_TRUE(calc.writeNumber(QString::fromLatin1(form.numberCell), 7));
            EXPECT_TRUE(calc.writeCell(QString::fromLatin1(form.zipCell), QStringLiteral("10000")));
            EXPECT_TRUE(calc.writeCell(QString::fromLatin1(form.priceCell), QStringLiteral("24.50")));
            for (const char* cell : form.cells) {
                if (qstrcmp(cell, form.priceCell) != 0) {
                    EXPECT_EQ(calc.readCell(QString::fromLatin1(cell)), QStringLiteral("v-") + QString::fromLatin1(cell))
                        << form.file << " " << cell;
                }
            }
            EXPECT_EQ(calc.readCell(QString::fromLatin1(form.numberCell)), QStringLiteral("7"));
            EXPECT_EQ(calc.readCell(QString::fromLatin1(form.dateCell)), platform::vb::GeneralDate(when)) << form.file;
            EXPECT_EQ(calc.readCell(QString::fromLatin1(form.zipCell)), QStringLiteral("10000"));
            EXPECT_EQ(calc.readCell(QString::fromLatin1(form.priceCell)), QStringLiteral("24.50"));
            // The template itself is never written: read-only refuses to store over it.
            EXPECT_FALSE(calc.saveAs(path));
            ASSERT_TRUE(calc.saveAs(filled)) << calc.lastError().toStdString();
            // Filled, the form still prints on one page.
            const QString pdf = dir.filePath(QFileInfo(path).completeBaseName() + QStringLiteral(".pdf"));
            ASSERT_TRUE(calc.saveAs(pdf)) << calc.lastError().toStdString();
            EXPECT_EQ(pdfPages(pdf), 1) << form.file;
        }
        EXPECT_EQ(fileHash(path), before) << form.file << " was changed";
        ASSERT_TRUE(probe.connect());
        EXPECT_FALSE(probe.cell(filled, form.zipCell).isNumber) << form.file << ": a zip code stays text";
        const OfficeProbe::Cell price = probe.cell(filled, form.priceCell);
        EXPECT_TRUE(price.isNumber) << form.file;
        EXPECT_EQ(price.value, 24.5) << form.file;
        EXPECT_TRUE(probe.cell(filled, form.dateCell).isNumber) << form.file << ": a date is a date value";
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

// The columns that show a value within the rows asked, from a column on: from the sheet's text
// read at once, and, where that cannot be had (the temporary folder named is a file), from
// the cells that hold anything, read one by one.
TEST_F(CalcTest, FilledColumnsAreFoundWithinTheRowsAsked)
{
    CalcSpreadsheet calc;
    ASSERT_TRUE(calc.start());
    EXPECT_TRUE(calc.filledColumns(1, 1).empty());
    EXPECT_FALSE(calc.lastError().isEmpty()) << "no workbook is open";
    ASSERT_TRUE(calc.addWorkbook());
    const struct {
        const char* address;
        QString text;
    } cells[] = {{"A1", QStringLiteral("kept")},     {"AF1", QStringLiteral("last kept")},
                 {"AG2", QStringLiteral("past AF")}, {"AJ3", QStringLiteral("0")},
                 {"AK2", QStringLiteral("  ")},      {"AM5", QStringLiteral("below the rows asked")},
                 {"AN3", QString()}};
    for (const auto& c : cells)
        ASSERT_TRUE(calc.writeCell(QString::fromLatin1(c.address), c.text));
    const QString notAFolder = dir.filePath(QStringLiteral("not a folder"));
    QFile file(notAFolder);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    for (const bool byCell : {false, true}) {
        SCOPED_TRACE(byCell ? "cell by cell" : "the sheet's text at once");
        const testsupport::EnvironmentOverride noTemporaryFolder("TMPDIR",
                                                                 byCell ? notAFolder.toUtf8() : qgetenv("TMPDIR"));
        calc.writeCell(QStringLiteral("A9"), QString()); // a change: the sheet is read again
        EXPECT_EQ(calc.filledColumns(33, 3), (std::vector<int>{33, 36, 37}));
        EXPECT_TRUE(calc.lastError().isEmpty()) << calc.lastError().toStdString();
        EXPECT_EQ(calc.filledColumns(33, 5), (std::vector<int>{33, 36, 37, 39}));
        EXPECT_EQ(calc.filledColumns(1, 1), (std::vector<int>{1, 32}));
        EXPECT_TRUE(calc.filledColumns(40, 100).empty());
        EXPECT_TRUE(calc.filledColumns(33, 1).empty());
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

TEST_F(CalcTest, ShowingWithoutADisplayFailsAndClosesTheWorkbook)
{
    const testsupport::EnvironmentOverride noDisplay("DISPLAY", QByteArray());
    const testsupport::EnvironmentOverride noWayland("WAYLAND_DISPLAY", QByteArray());
    CalcSpreadsheet calc;
    ASSERT_TRUE(calc.start());
    ASSERT_TRUE(calc.addWorkbook());
    calc.writeCell(QStringLiteral("A1"), QStringLiteral("x"));
    EXPECT_FALSE(calc.setVisible(true));
    EXPECT_FALSE(calc.lastError().isEmpty());
    EXPECT_EQ(officeProcessesStartedBy(::getpid()), 1) << "no visible office was started";
    // The fixture sees the workbook closed.
}

TEST_F(CalcTest, SeveralInstancesShareTheOfficeWithAWorkbookEach)
{
    CalcSpreadsheet first;
    CalcSpreadsheet second;
    ASSERT_TRUE(first.start());
    ASSERT_TRUE(second.start());
    EXPECT_EQ(officeProcessesStartedBy(::getpid()), 1);
    ASSERT_TRUE(first.addWorkbook());
    ASSERT_TRUE(second.addWorkbook());
    first.writeCell(QStringLiteral("A1"), QStringLiteral("first"));
    second.writeCell(QStringLiteral("A1"), QStringLiteral("second"));
    EXPECT_EQ(first.readCell(QStringLiteral("A1")), QStringLiteral("first"));
    EXPECT_EQ(second.readCell(QStringLiteral("A1")), QStringLiteral("second"));
    // A second workbook of one instance replaces its first one in the office.
    ASSERT_TRUE(first.addWorkbook());
    EXPECT_EQ(first.readCell(QStringLiteral("A1")), QString());
    OfficeProbe probe;
    ASSERT_TRUE(probe.connect());
    EXPECT_EQ(probe.openDocuments(), 2);
    // Dropped without quit: the destructors close both workbooks.
}

TEST_F(CalcTest, AnOfficeThatDiesMidwayFailsTheCallsWithoutHangingAndTheNextStartReplacesIt)
{
    CalcSpreadsheet calc;
    ASSERT_TRUE(calc.start());
    ASSERT_TRUE(calc.addWorkbook());
    // Kill the office behind the instance's back.
    const QList<pid_t> offices = officePidsStartedBy(::getpid());
    ASSERT_EQ(offices.size(), 1);
    ::kill(offices.front(), SIGKILL);
    officesLeftAfter(::getpid(), 60000);
    calc.writeCell(QStringLiteral("A1"), QStringLiteral("lost"));
    EXPECT_EQ(calc.readCell(QStringLiteral("A1")), QString());
    EXPECT_FALSE(calc.lastError().isEmpty());
    EXPECT_FALSE(calc.printActiveSheet(1, true));
    calc.quit();
    // The next command gets a new office.
    CalcSpreadsheet next;
    ASSERT_TRUE(next.start()) << next.lastError().toStdString();
    ASSERT_TRUE(next.addWorkbook()) << next.lastError().toStdString();
    next.writeCell(QStringLiteral("A1"), QStringLiteral("again"));
    EXPECT_EQ(next.readCell(QStringLiteral("A1")), QStringLiteral("again"));
    ASSERT_EQ(officeProcessesStartedBy(::getpid()), 1);
    EXPECT_NE(officePidsStartedBy(::getpid()).front(), offices.front());
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
    ASSERT_TRUE(freezeOffice(offices.front())); // frozen: it takes calls and never answers
    calc.quit(); // closing the workbook outlives the quit limit
    EXPECT_EQ(officesLeftAfter(::getpid(), 60000), 0);
}

TEST_F(CalcTest, AnOfficeThatStopsAnsweringIsKilledWhenACallOutlivesItsLimit)
{
    {
        // The office's first workbook loads its spreadsheet part, which a busy machine takes
        // a good part of a second over: done before the short limit applies.
        CalcSpreadsheet first;
        ASSERT_TRUE(first.start()) << first.lastError().toStdString();
        ASSERT_TRUE(first.addWorkbook()) << first.lastError().toStdString();
    }
    CalcOptions options;
    options.callTimeoutMs = 5000;
    CalcSpreadsheet calc(options);
    ASSERT_TRUE(calc.start());
    ASSERT_TRUE(calc.addWorkbook());
    ASSERT_TRUE(calc.writeCell(QStringLiteral("A1"), QStringLiteral("held")));
    const QList<pid_t> offices = officePidsStartedBy(::getpid());
    ASSERT_EQ(offices.size(), 1);
    ASSERT_TRUE(freezeOffice(offices.front())); // frozen: it takes calls and never answers
    // Without the limit these would wait for ever (and the test would fail by its timeout).
    EXPECT_EQ(calc.readCell(QStringLiteral("A1")), QString());
    EXPECT_FALSE(calc.lastError().isEmpty());
    EXPECT_FALSE(calc.saveAs(dir.filePath(QStringLiteral("frozen.xls"))));
    EXPECT_FALSE(calc.lastError().isEmpty());
    calc.quit();
    EXPECT_EQ(officesLeftAfter(::getpid(), 60000), 0);
}

// Run in child processes under other languages by the next test: a typed number and a date
// show as the program writes them, whatever language the program and the office run in.
TEST(CalcLanguageHelper, NumbersAndDatesShowAsWritten)
{
    if (qEnvironmentVariableIsEmpty("QUORVANE_CALC_LANGUAGE_CHILD"))
        GTEST_SKIP() << "only run as the child of NumbersAndDatesShowAsWrittenInEveryLanguage";
    const QDateTime when(QDate(2026, 12, 10), QTime(21, 30, 5));
    for (const bool form : {false, true}) {
        CalcSpreadsheet calc;
        ASSERT_TRUE(calc.start()) << calc.lastError().toStdString();
        if (form) {
            ASSERT_TRUE(calc.openWorkbook(templateRoot + QStringLiteral("/Item/Item Form.xls"), true));
        } else {
            ASSERT_TRUE(calc.addWorkbook());
        }
        calc.writeCell(QStringLiteral("D23"), QStringLiteral("24.50"));
        calc.writeCell(QStringLiteral("D25"), QStringLiteral("-1234.5"));
        calc.writeDate(QStringLiteral("D15"), when);
        EXPECT_EQ(calc.readCell(QStringLiteral("D23")), QStringLiteral("24.50")) << form;
        EXPECT_EQ(calc.readCell(QStringLiteral("D25")), QStringLiteral("-1234.5")) << form;
        EXPECT_EQ(calc.readCell(QStringLiteral("D15")), platform::vb::GeneralDate(when)) << form;
    }
}

TEST_F(CalcTest, NumbersAndDatesShowAsWrittenInEveryLanguage)
{
    for (const char* language : {"de_DE.UTF-8", "en_US.UTF-8", "sl_SI.UTF-8"}) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QUORVANE_CALC_LANGUAGE_CHILD"), QStringLiteral("1"));
        env.insert(QStringLiteral("LC_ALL"), QString::fromLatin1(language));
        env.insert(QStringLiteral("LANG"), QString::fromLatin1(language));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--gtest_filter=CalcLanguageHelper.NumbersAndDatesShowAsWritten")});
        ASSERT_TRUE(child.waitForFinished(180000)) << language;
        const QByteArray output = child.readAll();
        EXPECT_EQ(child.exitCode(), 0) << language << "\n" << output.toStdString();
        EXPECT_TRUE(output.contains("[       OK ] CalcLanguageHelper")) << language << "\n" << output.toStdString();
    }
}

// Run in child processes by the tests below: starts an office and fills a workbook, then
// dies without cleaning up, leaves by exit() with its application object still there, or
// ends as a program normally does (after its office has died under it, with "lose-office").
TEST(CalcChildHelper, StartAndEnd)
{
    const QByteArray how = qgetenv("QUORVANE_CALC_CHILD");
    if (how.isEmpty())
        GTEST_SKIP() << "only run as the child of the tests below";
    CalcSpreadsheet calc;
    if (!calc.start() || !calc.addWorkbook() || !calc.writeCell(QStringLiteral("A1"), QStringLiteral("x")))
        ::_exit(3);
    if (how == "die")
        ::_exit(0); // no destructor, no quit
    if (how == "exit")
        std::exit(0); // exit handlers only
    if (how == "lose-office") {
        const QList<pid_t> offices = officePidsStartedBy(::getpid());
        if (offices.size() != 1)
            ::_exit(4);
        ::kill(offices.front(), SIGKILL);
        if (officesLeftAfter(::getpid(), 60000) != 0)
            ::_exit(5);
        // The call fails with the connection gone; no command starts another office.
        if (!calc.readCell(QStringLiteral("A1")).isEmpty() || calc.lastError().isEmpty())
            ::_exit(6);
    }
    // The command ends, and then the program, normally.
}

namespace {

// Runs the helper above in a child process; its pid, or 0 when it did not end well.
qint64 runChild(const QByteArray& how, QProcessEnvironment env = QProcessEnvironment::systemEnvironment())
{
    QProcess child;
    env.insert(QStringLiteral("QUORVANE_CALC_CHILD"), QString::fromLatin1(how));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=CalcChildHelper.StartAndEnd")});
    if (!child.waitForStarted())
        return 0;
    const qint64 pid = child.processId();
    if (!child.waitForFinished(120000) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        return 0;
    return pid;
}

} // namespace

TEST_F(CalcTest, OfficeEndsWhenTheProgramDies)
{
    const qint64 pid = runChild("die");
    ASSERT_NE(pid, 0);
    EXPECT_EQ(officesLeftAfter(pid_t(pid), 60000), 0);
}

TEST_F(CalcTest, OfficeEndsWithTheProgramAndLeavesNothingBehind)
{
    for (const char* how : {"end", "exit"}) {
        const qint64 pid = runChild(how);
        ASSERT_NE(pid, 0) << how;
        // Ended before the program was: no office, no profile folder, no pipe left.
        EXPECT_EQ(officeProcessesStartedBy(pid_t(pid)), 0) << how;
        EXPECT_TRUE(QDir(QDir::tempPath()).entryList({QStringLiteral("quorvane-office-%1-*").arg(pid)}, QDir::AllEntries | QDir::Hidden).isEmpty())
            << how;
        EXPECT_TRUE(QDir(QStringLiteral("/tmp"))
                        .entryList({QStringLiteral("OSL_PIPE_%1_quorvane_%2_*").arg(::getuid()).arg(pid)}, QDir::System)
                        .isEmpty())
            << how;
    }
}

// A program whose office died under a command (or was killed for not answering) still ends
// it at its own end, over a connection that is gone. That end used to run after the office
// runtime's libraries had begun to free what they hold, so it read freed memory and now and
// then crashed the program on its way out. The child has its freed memory overwritten, so
// that any such read goes wrong every time.
TEST_F(CalcTest, AProgramWhoseOfficeDiedEndsCleanly)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("MALLOC_PERTURB_"), QStringLiteral("165"));
    const qint64 pid = runChild("lose-office", env);
    ASSERT_NE(pid, 0) << "the program did not end well";
    EXPECT_EQ(officeProcessesStartedBy(pid_t(pid)), 0);
    EXPECT_TRUE(QDir(QDir::tempPath()).entryList({QStringLiteral("quorvane-office-%1-*").arg(pid)}, QDir::AllEntries | QDir::Hidden).isEmpty());
}
