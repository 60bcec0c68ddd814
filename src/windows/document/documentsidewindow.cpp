#include "windows/document/documentsidewindow.h"

#include "platform/onscreen.h"
#include "platform/twips.h"

namespace windows {

namespace {

// Where a docked window stands and how wide it is, in twips.
constexpr int DockedWidth = 5220;

} // namespace

DocumentWindow& DocumentSideWindow::made() const
{
    return *m_finder(true);
}

bool DocumentSideWindow::Visible() const
{
    const DocumentWindow* window = m_finder(false);
    return window && window->isVisible();
}

CloseOutcome DocumentSideWindow::closeWindow()
{
    DocumentWindow* window = m_finder(false);
    return window ? window->closeWindow() : CloseOutcome::Closed;
}

void DocumentSideWindow::Show()
{
    DocumentWindow& window = made();
    window.show();
    window.raise();
    window.activateWindow();
}

void DocumentSideWindow::cmdNew_Click()
{
    made().cmdNew_Click();
}

void DocumentSideWindow::cmdOpen_Click()
{
    made().cmdOpen_Click();
}

QPoint DocumentSideWindow::dockTopLeft()
{
    DocumentWindow& window = made();
    if (window.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        window.showNormal();
    window.move(0, 0);
    window.resize(qRound(DockedWidth / double(platform::TwipsPerPixelX)), window.height());
    platform::keepOnScreen(window);
    return {(window.x() + window.width()) * platform::TwipsPerPixelX, window.y() * platform::TwipsPerPixelY};
}

void DocumentSideWindow::showWrittenDocument(const QString& path)
{
    (void)made().showWrittenDocument(path);
}

} // namespace windows
