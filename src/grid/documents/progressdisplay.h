#pragma once
// A document window's progress bar as the spreadsheet members drive it: a maximum and a
// value, both single-precision numbers.

namespace grid {

class ProgressDisplay {
public:
    virtual ~ProgressDisplay() = default;

    virtual void setMax(float max) = 0;
    // A value the bar cannot take (above its maximum) is ignored and the bar stays as it was.
    virtual void setValue(float value) = 0;
};

} // namespace grid
