// Showing a filled workbook: under a virtual display, the workbook appears in a normal
// (not headless) office as an untitled, changed document.

#include "officeprobe.h"
#include "officewatch.h"

#include "platform/calc/calc.h"
#include "platform/calc/calcspreadsheet.h"
#include "platform/calc/unostrings.h"
#include "support/environmentoverride.h"

#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/XModifiable.hpp>

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
#include <optional>
#include <unistd.h>

using namespace css;
using platform::calc::toQString;

namespace {

// A virtual display of the test's own. Its number is picked from the test's pid rather
// than by the server, so that displays of tests that start and stop side by side are never
// handed from one to the next; it does not reset when a client leaves (the office opens
// and closes a first connection, and one made during a reset fails).
class VirtualDisplay {
public:
    bool start()
    {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (xvfb.isEmpty())
            return false;
        const int base = 200 + int(::getpid() % 600);
        for (int number = base; number < base + 20; ++number) {
            const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(number);
            if (QFileInfo::exists(socket) || QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(number)))
                continue;
            server_.start(xvfb, {QStringLiteral(":%1").arg(number), QStringLiteral("-screen"), QStringLiteral("0"),
                                 QStringLiteral("1280x800x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                                 QStringLiteral("-noreset")});
            if (!server_.waitForStarted(10000))
                return false;
            QElapsedTimer clock;
            clock.start();
            while (!QFileInfo::exists(socket) && server_.state() == QProcess::Running && clock.elapsed() < 20000)
                QThread::msleep(20);
            if (server_.state() == QProcess::Running && QFileInfo::exists(socket)) {
                display_.emplace("DISPLAY", ":" + QByteArray::number(number));
                return true;
            }
            server_.kill();
            server_.waitForFinished(5000);
        }
        return false;
    }

    ~VirtualDisplay()
    {
        if (server_.state() != QProcess::NotRunning) {
            server_.terminate();
            if (!server_.waitForFinished(5000)) {
                server_.kill();
                server_.waitForFinished(5000);
            }
        }
    }

private:
    QProcess server_;
    std::optional<testsupport::EnvironmentOverride> display_;
};

// The pipe name a process was told to accept connections on.
QString acceptedPipe(pid_t pid)
{
    QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (!cmdline.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression pipe(QStringLiteral("pipe,name=([^;]+);"));
    const QRegularExpressionMatch m = pipe.match(QString::fromLocal8Bit(cmdline.readAll().replace('\0', ' ')));
    return m.hasMatch() ? m.captured(1) : QString();
}

bool isHeadless(pid_t pid)
{
    QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
    return cmdline.open(QIODevice::ReadOnly) && cmdline.readAll().contains("--headless");
}

} // namespace

TEST(ShownCalc, TheFilledWorkbookOpensUntitledAndChangedInAVisibleOffice)
{
    VirtualDisplay display;
    if (!display.start())
        GTEST_SKIP() << "no virtual display (Xvfb) available";
    QTemporaryDir profile;
    platform::calc::CalcOptions options;
    options.showProfileDir = profile.path();
    options.startTimeoutMs = 20000;
    {
        platform::calc::CalcSpreadsheet calc(options);
        ASSERT_TRUE(calc.start()) << calc.lastError().toStdString();
        ASSERT_TRUE(calc.addWorkbook());
        calc.writeCell(QStringLiteral("A1"), QStringLiteral("Shown to the user"));
        calc.writeCell(QStringLiteral("B2"), QStringLiteral("42"));
        ASSERT_TRUE(calc.setVisible(true)) << calc.lastError().toStdString();
        calc.quit(); // nothing left to quit: showing closed the hidden workbook
    }
    platform::calc::endOffice(); // the program's hidden office; the shown one is the user's
    const QList<pid_t> offices = officePidsStartedBy(::getpid());
    ASSERT_FALSE(offices.isEmpty());
    for (pid_t pid : offices)
        EXPECT_FALSE(isHeadless(pid));

    const uno::Reference<frame::XDesktop2> desktop = officeDesktop(acceptedPipe(offices.front()));
    const uno::Reference<container::XEnumeration> docs = desktop->getComponents()->createEnumeration();
    int shown = 0;
    while (docs->hasMoreElements()) {
        const uno::Reference<frame::XModel> model(docs->nextElement(), uno::UNO_QUERY_THROW);
        ++shown;
        EXPECT_TRUE(model->getURL().isEmpty()) << "the shown workbook is untitled";
        const uno::Reference<util::XModifiable> modifiable(model, uno::UNO_QUERY_THROW);
        EXPECT_TRUE(modifiable->isModified()) << "closing it asks whether to save";
        const uno::Reference<sheet::XSpreadsheetDocument> spreadsheet(model, uno::UNO_QUERY_THROW);
        const uno::Reference<container::XIndexAccess> sheets(spreadsheet->getSheets(), uno::UNO_QUERY_THROW);
        const uno::Reference<table::XCellRange> sheet(sheets->getByIndex(0), uno::UNO_QUERY_THROW);
        EXPECT_EQ(toQString(uno::Reference<text::XText>(sheet->getCellByPosition(0, 0), uno::UNO_QUERY_THROW)->getString()),
                  QStringLiteral("Shown to the user"));
        EXPECT_EQ(toQString(uno::Reference<text::XText>(sheet->getCellByPosition(1, 1), uno::UNO_QUERY_THROW)->getString()),
                  QStringLiteral("42"));
        modifiable->setModified(false);
        uno::Reference<util::XCloseable>(model, uno::UNO_QUERY_THROW)->close(true);
    }
    EXPECT_EQ(shown, 1);
    try {
        desktop->terminate();
    } catch (const uno::Exception&) {
    }
    // The shown office is the user's, not ours: the test ends it itself.
    if (officesLeftAfter(::getpid(), 5000) > 0)
        for (pid_t pid : officePidsStartedBy(::getpid()))
            ::kill(pid, SIGKILL);
    EXPECT_EQ(officesLeftAfter(::getpid(), 60000), 0);
}
