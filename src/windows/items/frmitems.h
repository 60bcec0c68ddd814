#pragma once
// frmItems: the item groups window, the document window for item groups (list files of kind
// QVI in the data root's "Items/" folder). Its document behaviour is the shared one; its
// description gives the texts, folder, settings fields, menus and tool bar of item groups.

#include "windows/document/documentwindow.h"

namespace windows {

class frmItems : public DocumentWindow {
    Q_OBJECT
public:
    explicit frmItems(const DocumentContext& context, QWidget* parent = nullptr);

    // What sets item groups apart from the other document kinds.
    static const DocumentKind& description();
};

} // namespace windows
