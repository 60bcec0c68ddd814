// The file search window in use, for screenshots: a small fixed tree of documents is made at
// the folder given, searched for item groups as a drive, and the window is drawn offscreen
// with a result selected; then the same folder's item groups are listed in the docked
// window. Usage: filesearchdemo <tree folder> <drive search picture> <listing picture>

#include "datafiles/settingsstore.h"
#include "shell/filesearchhost.h"
#include "shell/frmfilesearch.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <cstdio>

namespace {

class DemoHost : public shell::FileSearchHost {
public:
    datafiles::SettingsStore store;
    QStringList driveList;
    datafiles::SettingsStore& settings() override { return store; }
    windows::FoundFileTarget* documentWindow(const QString&) override { return nullptr; }
    QStringList drives() override { return driveList; }
};

const char* const DemoFiles[] = {
    "Office/Stationery.QVI",          "Office/Printer supplies.QVI", "Office/Furniture.QVI",
    "Office/Contacts 2024.QVC",       "Workshop/Timber.QVI",         "Workshop/Fixings and hinges.QVI",
    "Workshop/Paints and varnish.qvi", "Workshop/Tools/Hand tools.QVI", "Workshop/Tools/Power tools.QVI",
    "Archive/2023/Timber 2023.QVI",   "Archive/2023/Invoice 1042.QVT", "Archive/2023/Invoice 1042.QVTH",
    "Archive/2022/Timber 2022.QVI",   "Archive/notes.txt",           "Customers/Garden centre.QVI",
};

bool makeTree(const QString& root)
{
    QDir(root).removeRecursively();
    for (const char* relative : DemoFiles) {
        const QString path = root + QLatin1Char('/') + QString::fromUtf8(relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return false;
    }
    return true;
}

bool save(QWidget& window, const QString& path)
{
    return window.grab().save(path, "PNG");
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: filesearchdemo <tree folder> <drive search picture> <listing picture>\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    if (!makeTree(root))
        return 1;

    DemoHost host;
    host.driveList = {root};
    host.store.ActiveList = QStringLiteral("frmItems");
    shell::frmFileSearch window(host);
    window.showDriveSearch();
    window.resize(window.width() + 140, window.height()); // room for the paths
    window.Find->click();
    window.waitForSearches();
    window.FileList->setCurrentRow(4);
    if (!save(window, QString::fromLocal8Bit(argv[2])))
        return 1;

    window.showListing(root + QStringLiteral("/Workshop/"), nullptr);
    window.waitForSearches();
    window.dockLeft(1380, 6210);
    if (!save(window, QString::fromLocal8Bit(argv[3])))
        return 1;
    QDir(root).removeRecursively();
    return 0;
}
