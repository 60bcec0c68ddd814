#pragma once
// A print server of the test's own: cupsd from a temporary folder, with one PDF queue that
// writes into that folder and is the default. The office reaches it through CUPS_SERVER, so
// the program's office is ended when the server starts and stops, and started again with it.

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include "support/environmentoverride.h"

#include <optional>

class PrivateCups {
public:
    PrivateCups();
    ~PrivateCups();

    // False (with the reason in error()) when cupsd or the PDF driver is not installed or
    // the server does not come up.
    bool start(bool withQueue = true);
    void stop();

    QString socket() const { return dir_.filePath(QStringLiteral("cups.sock")); }
    QString output() const { return dir_.filePath(QStringLiteral("out.pdf")); }
    QString error() const { return error_; }

    // Waits for the page log to record a finished job; gives its page total, or -1.
    int waitForPrintedPages(int timeoutMs);
    // Pages of the PDF the queue wrote, or -1.
    int outputPages() const;
    // The text of that PDF ("" where it cannot be read).
    QString outputText() const;

private:
    bool run(const QString& program, const QStringList& args);

    QTemporaryDir dir_;
    QProcess cupsd_;
    QString error_;
    std::optional<testsupport::EnvironmentOverride> server_;
};
