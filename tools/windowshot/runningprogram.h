#pragma once
// What the picture programs that run the whole program (captionshot, messageshot) share:
// letting it run until something holds, letting what it showed be drawn, and the details of
// the sample company its settings name.

#include "datafiles/settingsstore.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <functional>

namespace windowshot {

// Lets the program run until the condition holds, or gives up after a while.
inline bool runUntil(const std::function<bool()>& condition)
{
    QDeadlineTimer deadline(60000);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(10);
    }
    return true;
}

// A few rounds of events so that what was shown is laid out and drawn.
inline void settle()
{
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
}

// The own company's details, so that the program starts without its welcome frame.
inline void setSampleCompany(datafiles::SettingsStore& s)
{
    s.CompanyName = QStringLiteral("Kos Joinery Ltd");
    s.CompanyAddress = QStringLiteral("12 Mill Street");
    s.CompanyCity = QStringLiteral("Kranj");
    s.CompanyZip = QStringLiteral("4000");
    s.CompanyEMail = QStringLiteral("office@kos.example");
    s.CompanyFax = QStringLiteral("04 111 222");
    s.CompanyPhone = QStringLiteral("04 111 333");
}

} // namespace windowshot
