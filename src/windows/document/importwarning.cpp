#include "windows/document/importwarning.h"

#include "platform/prompts.h"
#include "platform/vb.h"

#include <cmath>

namespace windows {

namespace {

constexpr int Int16Max = 32767;
constexpr int Int16Min = -32768;

// A whole number of the 16-bit range, or 0 when the value leaves it.
int toInt16(double value)
{
    const double rounded = platform::vb::RoundHalfEven(value);
    if (!std::isfinite(rounded) || rounded > Int16Max || rounded < Int16Min)
        return 0;
    return int(rounded);
}

} // namespace

int ImportWarning::seconds(double rows, int mhz)
{
    if (mhz == 0)
        return 0;
    return toInt16(rows / (mhz / 115.0));
}

ImportWarning ImportWarning::forRows(const QString& typed, double rows, int mhz)
{
    const int t = seconds(rows, mhz);
    const QString T = QString::number(t);
    const QString MHz = QString::number(mhz);
    ImportWarning w;
    w.text = QStringLiteral("With ") + typed + QStringLiteral(" of records you entered, import action will take approximately ")
             + T + QStringLiteral(" seconds, during which you will not be able to stop importing process. Start data import?");
    w.title = QStringLiteral("Data Import Warning!");
    w.style = platform::MsgStyle::YesNoQuestionNo;
    if (t <= 120)
        return w;
    const int m = toInt16(t / 60.0);
    const QString M = QString::number(m);
    w.text = QStringLiteral("Because on the the significant difference in the selected data format, with  ") + typed
             + QStringLiteral(" of records you entered and with the current system processor speed at ") + MHz
             + QStringLiteral(" MHz, this action could take approximately ") + T + QStringLiteral(" seconds (") + M
             + QStringLiteral(" ) minutes during which you will not be able to stop importing process. Start data import?");
    w.title = QStringLiteral("Long Processing Warning ( ") + M + QStringLiteral(" minutes) !!! ");
    if (m <= 10)
        return w;
    w.text = QStringLiteral("You entered very large amount of records to be imported. Because of the the significant "
                            "difference in the selected data format and with the current system processor speed at ")
             + MHz + QStringLiteral(" MHz, this action could take approximately ") + T + QStringLiteral(" seconds (") + M
             + QStringLiteral(" ) minutes, during which you will not be able to stop importing process. Start data import?");
    w.title = QStringLiteral("Attention! Very Long Processing Time Warning ( ") + M + QStringLiteral(" minutes) !!! ");
    w.style = platform::MsgStyle::YesNoCriticalNo;
    return w;
}

} // namespace windows
