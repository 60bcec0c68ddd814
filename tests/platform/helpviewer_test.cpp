// The help viewer of this machine for help kept as a folder of pages: a topic page opens in
// the browser, and a call without a topic (the help file's first page) opens nothing, rather
// than the folder itself in a file manager.

#include "platform/desktop.h"

#include "support/qtprinters.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

// Takes the place of the browser and the file manager for file addresses.
class OpenedFiles : public QObject {
    Q_OBJECT
public:
    OpenedFiles() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~OpenedFiles() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QStringList paths;

public slots:
    void open(const QUrl& url) { paths += url.toLocalFile(); }
};

} // namespace

TEST(HelpViewer, AFolderOfPagesOpensATopicPageButNeverTheFolder)
{
    QTemporaryDir help;
    QFile page(help.filePath(QStringLiteral("Items.htm")));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.close();
    OpenedFiles opened;

    EXPECT_TRUE(platform::helpViewer().showTopic(help.path(), QStringLiteral("Main"), QStringLiteral("Items.htm")));
    EXPECT_FALSE(platform::helpViewer().showTopic(help.path(), QString(), QString()));
    EXPECT_FALSE(platform::helpViewer().showTopic(help.path(), QStringLiteral("Main"), QStringLiteral("Net.htm")));
    EXPECT_EQ(opened.paths, QStringList{QDir(help.path()).filePath(QStringLiteral("Items.htm"))});
}

#include "helpviewer_test.moc"
