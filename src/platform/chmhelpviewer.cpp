#include "platform/chmhelpviewer.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace platform {

ChmHelpViewer::Command ChmHelpViewer::commandFor(const QString& helpFile, const QString& topic)
{
    const QString kchmviewer = QStandardPaths::findExecutable(QStringLiteral("kchmviewer"));
    if (!kchmviewer.isEmpty()) {
        QStringList args;
        if (!topic.isEmpty())
            args << QStringLiteral("-showPage") << topic;
        return {kchmviewer, args << helpFile};
    }
    const QString xchm = QStandardPaths::findExecutable(QStringLiteral("xchm"));
    if (!xchm.isEmpty())
        return {xchm, {helpFile}}; // it opens the file at its first page
    return {};
}

bool ChmHelpViewer::showTopic(const QString& helpFile, const QString&, const QString& topic)
{
    const QFileInfo info(helpFile);
    if (info.isDir()) {
        // Help kept as a folder of pages: the topic page opens in the browser. Without a
        // topic there is no page to open (the folder itself is no help page).
        const QFileInfo page(info.absoluteFilePath() + QLatin1Char('/') + topic);
        return !topic.isEmpty() && page.isFile()
            && QDesktopServices::openUrl(QUrl::fromLocalFile(page.absoluteFilePath()));
    }
    if (!info.isFile())
        return false;
    const Command command = commandFor(info.absoluteFilePath(), topic);
    if (command.program.isEmpty())
        return false;
    return QProcess::startDetached(command.program, command.arguments);
}

} // namespace platform
