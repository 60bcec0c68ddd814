#pragma once
// Where the office is and how it is run; the defaults suit an installed LibreOffice.

#include <QString>

namespace platform::calc {

struct CalcOptions {
    // The office's launcher. A missing path makes every start fail cleanly. The program runs
    // one office for each launcher it is given.
    QString officeProgram = QStringLiteral("/usr/lib/libreoffice/program/soffice");
    // How long a starting office may take to answer.
    int startTimeoutMs = 60000;
    // How long one call into a running office (loading, filling, reading, storing,
    // printing a workbook) may take; an office that does not answer by then is killed and
    // the call fails.
    int callTimeoutMs = 120000;
    // How long closing a workbook, ending the office or checking that it still answers may
    // take; an office that does not answer by then is killed (and started again by the next
    // command).
    int quitTimeoutMs = 10000;
    // The profile folder of the visible office that shown workbooks open in; "" is the
    // user's own. Tests point it at a folder of their own.
    QString showProfileDir;
};

} // namespace platform::calc
