#pragma once
// The desktop services the program uses: opening a web page, the clipboard and the help
// viewer.

#include <QString>

namespace platform {

// Opens a web address in the user's browser; false when nothing could open it.
bool openUrl(const QString& url);

// The clipboard, text only.
void setClipboardText(const QString& text);
QString clipboardText();
void clearClipboard();

// Shows a topic page of a help file in the named viewer window; an empty topic shows the
// help file's own first page, an empty window name the viewer's usual window. Silent
// (false) when the help file is missing or nothing on this machine can show it.
class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    virtual bool showTopic(const QString& helpFile, const QString& windowName,
                           const QString& topic) = 0;
};
HelpViewer& helpViewer();
void setHelpViewer(HelpViewer* viewer); // nullptr restores the real one

} // namespace platform
