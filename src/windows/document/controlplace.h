#pragma once
// Where a control of a document window stands, in twips inside the window's client area, as
// the window's layout computes it. The widget shows it rounded to whole pixels.

namespace windows {

struct ControlPlace {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;

    friend bool operator==(const ControlPlace&, const ControlPlace&) = default;
};

} // namespace windows
