#include "platform/desktop.h"

#include "platform/chmhelpviewer.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QUrl>

namespace platform {

namespace {
HelpViewer*& installedViewer()
{
    static HelpViewer* viewer = nullptr;
    return viewer;
}

QClipboard* clipboard()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
}
} // namespace

bool openUrl(const QString& url)
{
    const QUrl u = QUrl::fromUserInput(url);
    return u.isValid() && QDesktopServices::openUrl(u);
}

void setClipboardText(const QString& text)
{
    if (QClipboard* c = clipboard())
        c->setText(text);
}

QString clipboardText()
{
    QClipboard* c = clipboard();
    return c ? c->text() : QString();
}

void clearClipboard()
{
    if (QClipboard* c = clipboard())
        c->clear();
}

HelpViewer& helpViewer()
{
    static ChmHelpViewer real;
    return installedViewer() ? *installedViewer() : real;
}

void setHelpViewer(HelpViewer* viewer)
{
    installedViewer() = viewer;
}

} // namespace platform
