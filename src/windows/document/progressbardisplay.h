#pragma once
// A window's progress bar ProgressBar1 as the grid's spreadsheet members drive it: a
// maximum and a value; a value above the maximum is refused and the bar stays as it was.

#include "grid/documents/progressdisplay.h"

class QProgressBar;

namespace windows {

class ProgressBarDisplay final : public grid::ProgressDisplay {
public:
    explicit ProgressBarDisplay(QProgressBar& bar) : m_bar(bar) {}

    void setMax(float max) override;
    void setValue(float value) override;

private:
    QProgressBar& m_bar;
};

} // namespace windows
