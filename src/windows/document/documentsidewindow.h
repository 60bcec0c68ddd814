#pragma once
// A SideWindow on a shared document window (the item groups or the contact companies
// window): the registry gives it the way to find the window and to make it on first use.

#include "windows/document/sidewindow.h"

#include <functional>

namespace windows {

class DocumentSideWindow : public SideWindow {
public:
    // Returns the window; when it has not been made, nullptr for `make` false and a newly
    // made (hidden) window for `make` true.
    using Finder = std::function<DocumentWindow*(bool make)>;

    explicit DocumentSideWindow(Finder finder) : m_finder(std::move(finder)) {}

    bool Visible() const override;
    CloseOutcome closeWindow() override;
    void Show() override;
    void cmdNew_Click() override;
    void cmdOpen_Click() override;
    QPoint dockTopLeft() override;
    void showWrittenDocument(const QString& path) override;

private:
    DocumentWindow& made() const;

    Finder m_finder;
};

} // namespace windows
