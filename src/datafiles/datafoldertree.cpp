#include "datafiles/datafoldertree.h"

#include "datafiles/fileprocedures.h"
#include "datafiles/settingsstore.h"
#include "platform/programfolder.h"
#include "platform/safefile.h"

#include <QDir>
#include <QFile>

namespace datafiles {

const QStringList& DataFolderTree()
{
    static const QStringList tree = {
        QStringLiteral("System"),
        QStringLiteral("System/Temp"),
        QStringLiteral("System/Sound"),
        QStringLiteral("System/RAzar"),
        QStringLiteral("System/RAzar/Items"),
        QStringLiteral("System/RAzar/Contacts"),
        QStringLiteral("System/RAzar/Payments"),
        QStringLiteral("System/RAzar/Transactions"),
        QStringLiteral("System/RAzar/Forms"),
        QStringLiteral("System/RAzar/Template"),
        QStringLiteral("System/RAzar/Template/Item"),
        QStringLiteral("System/RAzar/Template/Payments"),
        QStringLiteral("System/RAzar/Template/Contacts"),
        QStringLiteral("System/RAzar/Template/Transaction"),
        QStringLiteral("System/RAzar/sys"),
    };
    return tree;
}

void CreateDataFolders()
{
    for (const QString& folder : DataFolderTree()) {
        const QString path = programPath(folder);
        if (!FolderExists(path))
            QDir().mkdir(path); // one level; a failure is passed over
    }
}

int removeLeftoverTemporaryFiles()
{
    return platform::removeStaleTemporaryFilesBelow(programPath(DataFolderTree().first()));
}

QString programPath(const QString& relative)
{
    return platform::programFolder() + QLatin1Char('/') + relative;
}

QString tempFolder()
{
    return programPath(QStringLiteral("System/Temp/"));
}

QString settingsFilePath()
{
    return programPath(QStringLiteral("System/RAzar/sys/0.dat"));
}

QString soundFilePath()
{
    return programPath(QStringLiteral("System/Sound/2.wav"));
}

void emptyTempFolder()
{
    const QDir temp(tempFolder());
    for (const QString& name : temp.entryList(QDir::Files | QDir::Hidden | QDir::System))
        QFile::remove(temp.filePath(name));
}

QString DataRoot(const SettingsStore& store)
{
    switch (store.networkMode()) {
    case NetworkMode::Host:
        return store.MyHostSystem.value() + QStringLiteral("QVNET/RAzar/");
    case NetworkMode::User:
        return store.lblConnectedtohostsystem.value() + QStringLiteral("QVNET/RAzar/");
    case NetworkMode::SingleMachine:
        break;
    }
    return programPath(QStringLiteral("System/RAzar/"));
}

} // namespace datafiles
