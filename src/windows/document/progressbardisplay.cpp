#include "windows/document/progressbardisplay.h"

#include <QProgressBar>
#include <climits>
#include <cmath>

namespace windows {

namespace {

int toBarNumber(float value)
{
    if (!(value > 0))
        return 0;
    return value >= float(INT_MAX) ? INT_MAX : int(std::lround(value));
}

} // namespace

void ProgressBarDisplay::setMax(float max)
{
    m_bar.setMaximum(toBarNumber(max));
}

void ProgressBarDisplay::setValue(float value)
{
    const int v = toBarNumber(value);
    if (v <= m_bar.maximum())
        m_bar.setValue(v);
}

} // namespace windows
