// The test's own print server.

#include "privatecups.h"

#include "platform/calc/calc.h"
#include "platform/calc/calcmodule.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>

namespace {

// The program's office, whichever way the test program reaches it: linked, or through the
// module the program loads (the end-to-end test runs as the program does).
void endOffice()
{
#ifdef QUORVANE_TEST_LOADS_CALC_MODULE
    platform::calc::module::endOffice();
#else
    platform::calc::endOffice();
#endif
}

const QString cupsdProgram = QStringLiteral("/usr/sbin/cupsd");
const QString pdfDriver = QStringLiteral("/usr/share/ppd/cupsfilters/Generic-PDF_Printer-PDF.ppd");

bool writeFile(const QString& path, const QString& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) == text.toUtf8().size();
}

} // namespace

PrivateCups::PrivateCups() = default;

PrivateCups::~PrivateCups()
{
    stop();
}

bool PrivateCups::run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        error_ = program + QStringLiteral(" failed: ") + QString::fromLocal8Bit(p.readAll());
        p.kill();
        p.waitForFinished();
        return false;
    }
    return true;
}

bool PrivateCups::start(bool withQueue)
{
    if (!QFileInfo(cupsdProgram).isExecutable() || !QFileInfo::exists(pdfDriver)) {
        error_ = QStringLiteral("cupsd or the generic PDF driver is not installed");
        return false;
    }
    const QString root = dir_.path();
    for (const char* sub : {"cache", "state", "spool", "log", "ppd", "tmp"})
        QDir(root).mkpath(QString::fromLatin1(sub));
    // Filters may run as another user than the server; they need to write temporary files.
    QFile::setPermissions(root + QStringLiteral("/tmp"), QFileDevice::Permissions(0x7777));
    QFile::setPermissions(root, QFileDevice::Permissions(0x7755));
    const QString conf = QStringLiteral(
        "Listen %1\nLogLevel warn\nBrowsing No\nWebInterface No\nPageLogFormat \"%p %j %P %C\"\n"
        "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
        "<Location /admin>\n  Order allow,deny\n  Allow all\n</Location>\n"
        "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n").arg(socket());
    const QString files = QStringLiteral(
        "FileDevice Yes\nServerRoot %1\nCacheDir %1/cache\nStateDir %1/state\nRequestRoot %1/spool\n"
        "TempDir %1/tmp\nErrorLog %1/log/error_log\nAccessLog %1/log/access_log\n"
        "PageLog %1/log/page_log\n").arg(root);
    if (!writeFile(root + QStringLiteral("/cupsd.conf"), conf)
        || !writeFile(root + QStringLiteral("/cups-files.conf"), files)) {
        error_ = QStringLiteral("cannot write the print server's settings");
        return false;
    }
    cupsd_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    cupsd_.start(cupsdProgram, {QStringLiteral("-f"), QStringLiteral("-c"), root + QStringLiteral("/cupsd.conf"),
                                QStringLiteral("-s"), root + QStringLiteral("/cups-files.conf")});
    if (!cupsd_.waitForStarted(10000)) {
        error_ = QStringLiteral("cupsd did not start");
        return false;
    }
    QDeadlineTimer deadline(20000);
    while (!QFileInfo::exists(socket()) && !deadline.hasExpired() && cupsd_.state() == QProcess::Running)
        QThread::msleep(20);
    if (!QFileInfo::exists(socket())) {
        error_ = QStringLiteral("cupsd did not open its socket");
        return false;
    }
    server_.emplace("CUPS_SERVER", socket().toLocal8Bit());
    // The office finds its print server when it starts: the program's office is started
    // again, by the next command, to find this one.
    endOffice();
    if (!withQueue)
        return true;
    const QString device = QStringLiteral("file://") + output();
    return run(QStringLiteral("lpadmin"),
               {QStringLiteral("-p"), QStringLiteral("TestPDF"), QStringLiteral("-E"), QStringLiteral("-v"), device,
                QStringLiteral("-P"), pdfDriver})
        && run(QStringLiteral("lpadmin"), {QStringLiteral("-d"), QStringLiteral("TestPDF")});
}

void PrivateCups::stop()
{
    if (cupsd_.state() != QProcess::NotRunning) {
        cupsd_.terminate();
        if (!cupsd_.waitForFinished(5000)) {
            cupsd_.kill();
            cupsd_.waitForFinished(5000);
        }
    }
    if (server_) {
        endOffice(); // it would print to a server that is gone
        server_.reset();
    }
}

int PrivateCups::waitForPrintedPages(int timeoutMs)
{
    static const QRegularExpression total(QStringLiteral("total (\\d+)"));
    QDeadlineTimer deadline(timeoutMs);
    do {
        QFile log(dir_.filePath(QStringLiteral("log/page_log")));
        if (log.open(QIODevice::ReadOnly)) {
            const QRegularExpressionMatch m = total.match(QString::fromUtf8(log.readAll()));
            if (m.hasMatch())
                return m.captured(1).toInt();
        }
        QThread::msleep(100);
    } while (!deadline.hasExpired());
    return -1;
}

int PrivateCups::outputPages() const
{
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {output()});
    if (!info.waitForFinished(120000) || info.exitCode() != 0)
        return -1;
    static const QRegularExpression pages(QStringLiteral("Pages:\\s+(\\d+)"));
    const QRegularExpressionMatch m = pages.match(QString::fromUtf8(info.readAll()));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QString PrivateCups::outputText() const
{
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {output(), QStringLiteral("-")});
    if (!text.waitForFinished(120000) || text.exitCode() != 0)
        return QString();
    return QString::fromUtf8(text.readAllStandardOutput());
}
