// The contact form from the contact companies window on the real LibreOffice Calc: the form
// of a contact selected in a company opened through the window is shown, stored and read
// back at the cells of its map, and printed in two copies to a private print queue. Our own
// template is used as the install puts it, and stays as it was.

#include "../contactsfixture.h"
#include "officewatch.h"
#include "privatecups.h"
#include "storedwhenshown.h"

#include "platform/calc/calcspreadsheet.h"
#include "platform/spreadsheet.h"

#include <QAction>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <unistd.h>

namespace contactstest {
namespace {

using platform::calc::CalcSpreadsheet;

const QString FormBelowProgram = QStringLiteral("System/RAzar/Template/Contacts/Contact Form.xls");

QByteArray digestOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
                                          : QByteArray();
}

class ContactFormOnCalc : public ContactsWindow {
protected:
    ContactFormOnCalc()
    {
        program.store.CompanyName = QStringLiteral("Firma Žaga");
        program.store.CompanyCity = QStringLiteral("Kranj");
        program.store.CompanyPhone = QStringLiteral("04 200 10");
        form = folder.filePath(FormBelowProgram);
        EXPECT_TRUE(QDir().mkpath(QFileInfo(form).absolutePath()));
        EXPECT_TRUE(QFile::copy(QStringLiteral(QUORVANE_SOURCE_DIR "/resources/") + FormBelowProgram, form));
        formDigest = digestOf(form);
    }
    ~ContactFormOnCalc() override
    {
        platform::setSpreadsheetFactory({});
        // The commands share the program's one office with the reader, and the print queue
        // ends that office when it comes and goes; so no more than the reader's may be left.
        QElapsedTimer clock;
        clock.start();
        while (officeProcessesStartedBy(::getpid()) > readerProcesses && clock.elapsed() < 3000)
            QThread::msleep(50);
        EXPECT_LE(officeProcessesStartedBy(::getpid()), readerProcesses) << "an office process was left running";
    }

    // One office for reading results back, shared by the suite.
    static void SetUpTestSuite()
    {
        reader = new CalcSpreadsheet;
        ASSERT_TRUE(reader->start()) << reader->lastError().toStdString();
        readerProcesses = officeProcessesStartedBy(::getpid());
    }
    static void TearDownTestSuite()
    {
        delete reader;
        reader = nullptr;
    }

    // A company of three contacts with a fourth column, opened through the window; the
    // second contact selected.
    QString openWorkshops()
    {
        const QString path = contacts(QStringLiteral("Delavnice.QVC"));
        writeCompany(path, {{"Kovač Šime", "120"}, {"Čevljar Ana", "45.25"}, {"Mizar", "3"}});
        prompts->queueOpen(path);
        window.cmdOpen_Click();
        window.List1().AddColumn(3, 100, QStringLiteral("Kraj"));
        window.List1().AddColumn(4, 100, QStringLiteral("Opomba"));
        window.List1().ChangeItem(2, 3, QStringLiteral("Škofja Loka"));
        window.List1().ChangeItem(2, 4, QStringLiteral("=plača v roku"));
        window.List1().SelectItem(2, 1);
        return path;
    }

    QTemporaryDir dir;
    QString form;
    QByteArray formDigest;
    static inline CalcSpreadsheet* reader = nullptr;
    static inline int readerProcesses = 0;
};

TEST_F(ContactFormOnCalc, TheShownFormReadsBackAsTheWindowShowedTheContact)
{
    const QString shown = dir.filePath(QStringLiteral("shown.xls"));
    platform::setSpreadsheetFactory([shown] { return std::make_unique<StoredWhenShown>(shown); });
    openWorkshops();
    window.menu(QStringLiteral("exportform"))->trigger();
    ASSERT_TRUE(QFile::exists(shown)) << "the filled form was not handed over: "
                                      << prompts->texts().join(", ").toStdString();

    ASSERT_NE(reader, nullptr);
    ASSERT_TRUE(reader->openWorkbook(shown, true)) << reader->lastError().toStdString();
    const struct {
        const char* address;
        QString text;
    } cells[] = {
        {"B2", "Firma Žaga"},
        {"B3", ""},
        {"B4", "Kranj"},
        {"B8", "04 200 10"},
        {"D17", "Company [ Delavnice.QVC ]"},
        {"D19", "2"},
        {"D21", "Čevljar Ana"},
        {"D23", "45.25"},
        {"B25", "Kraj"},
        {"D25", "Škofja Loka"},
        {"B27", "Opomba"},
        {"D27", "=plača v roku"},
        {"B29", ""},
        {"D83", ""},
    };
    for (const auto& cell : cells)
        EXPECT_EQ(reader->readCell(QString::fromLatin1(cell.address)), cell.text) << cell.address;
    EXPECT_FALSE(reader->readCell(QStringLiteral("D15")).isEmpty()) << "the date and time";
    EXPECT_EQ(digestOf(form), formDigest);
}

TEST_F(ContactFormOnCalc, TheSelectedContactPrintsTwoCopies)
{
    PrivateCups cups;
    if (!cups.start())
        GTEST_SKIP() << cups.error().toStdString();
    platform::setSpreadsheetFactory([] { return std::make_unique<CalcSpreadsheet>(); });
    openWorkshops();
    prompts->queueInput(QStringLiteral("2"));
    window.menu(QStringLiteral("printselectedcontact"))->trigger();
    EXPECT_EQ(cups.waitForPrintedPages(30000), 2) << prompts->texts().join(", ").toStdString();
    EXPECT_EQ(cups.outputPages(), 2);
    EXPECT_TRUE(cups.outputText().contains(QStringLiteral("Škofja Loka")));
    EXPECT_EQ(digestOf(form), formDigest);
}

} // namespace
} // namespace contactstest
