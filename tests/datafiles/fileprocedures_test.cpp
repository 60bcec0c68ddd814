#include "datafiles/datafoldertree.h"
#include "datafiles/fileprocedures.h"
#include "datafiles/settingsstore.h"
#include "platform/systeminfo.h"
#include "support/tempprogramfolder.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include "support/qtprinters.h"

#include <gtest/gtest.h>

using namespace datafiles;
using testsupport::TempProgramFolder;
using datafilestest::ageFile;

namespace {

QStringList foldersBelow(const QString& root)
{
    QStringList found;
    for (const QString& folder : DataFolderTree())
        if (QFileInfo(root + QLatin1Char('/') + folder).isDir())
            found << folder;
    return found;
}

} // namespace

TEST(DataFolderTree, MakesTheWholeTreeInOneCallAndNothingTheSecondTime)
{
    TempProgramFolder program;
    CreateDataFolders();
    EXPECT_EQ(foldersBelow(program.path()), DataFolderTree());
    EXPECT_EQ(DataFolderTree().size(), 15);
    EXPECT_TRUE(QFileInfo(program.filePath("System/RAzar/sys")).isDir()); // one spelling: "sys"

    const QString marker = program.writeFile("System/RAzar/Items/a.QVI", "x");
    CreateDataFolders();
    EXPECT_TRUE(QFile::exists(marker));
    EXPECT_EQ(foldersBelow(program.path()), DataFolderTree());
}

TEST(DataFolderTree, WithOnlySystemPresentMakesTheFourteenBelowIt)
{
    TempProgramFolder program;
    program.makeFolder("System");
    CreateDataFolders();
    EXPECT_EQ(foldersBelow(program.path()), DataFolderTree());
}

TEST(DataFolderTree, AFolderThatCannotBeMadeIsPassedOver)
{
    TempProgramFolder program;
    program.writeFile("System/RAzar", "a file where a folder belongs");
    CreateDataFolders();
    EXPECT_TRUE(QFileInfo(program.filePath("System/Temp")).isDir());
    EXPECT_TRUE(QFileInfo(program.filePath("System/Sound")).isDir());
    EXPECT_FALSE(QFileInfo(program.filePath("System/RAzar/Items")).exists());
}

TEST(DataFolderTree, DataRootFollowsTheNetworkMode)
{
    TempProgramFolder program;
    SettingsStore store;
    store.setNetworkPathTest([](const QString&) { return true; });
    store.MyHostSystem = QStringLiteral("/mnt/share/");
    store.lblConnectedtohostsystem = QStringLiteral("/mnt/other/");
    EXPECT_EQ(DataRoot(store), program.path() + "/System/RAzar/");
    store.OptionHost = true;
    EXPECT_EQ(DataRoot(store), QStringLiteral("/mnt/share/QVNET/RAzar/"));
    store.OptionUser = true;
    EXPECT_EQ(DataRoot(store), QStringLiteral("/mnt/other/QVNET/RAzar/"));
    EXPECT_EQ(settingsFilePath(), program.path() + "/System/RAzar/sys/0.dat");
}

TEST(DataFolderTree, EmptyingTheTempFolderDeletesItsFilesOnly)
{
    TempProgramFolder program;
    CreateDataFolders();
    const QString scratch = program.writeFile("System/Temp/1~.000", "x");
    const QString hidden = program.writeFile("System/Temp/.hidden", "x");
    program.makeFolder("System/Temp/inner");
    emptyTempFolder();
    EXPECT_FALSE(QFile::exists(scratch));
    EXPECT_FALSE(QFile::exists(hidden));
    EXPECT_TRUE(QFileInfo(program.filePath("System/Temp/inner")).isDir());
}

// What killed saves left in the data folder tree goes at start-up once surely dead; a save
// that may be going on now, and everything else, stays.
TEST(DataFolderTree, StartUpRemovesTheDeadTemporaryFilesOfTheTree)
{
    TempProgramFolder program;
    CreateDataFolders();
    constexpr qint64 Day = 24 * 3600;
    struct Case {
        const char* file;
        qint64 age;
        bool removed;
    };
    const Case cases[] = {
        {"System/RAzar/sys/.0.dat.~1f2e3d4c", Day, true},
        {"System/RAzar/Items/.Group.QVI.~ab", 2 * Day, true},
        {"System/RAzar/Transactions/.1.QVTH.~c", 2 * 3600, true},
        {"System/RAzar/Items/Deep/.Old.QVI.~d", Day, true},
        {"System/RAzar/Items/.Now.QVI.~e", 60, false},
        {"System/RAzar/Items/Group.QVI", 2 * Day, false},
        {"System/RAzar/Items/Group.QVI.tmp", 2 * Day, false},
        {".quorvane.~f", 2 * Day, false}, // outside the data folder tree
    };
    for (const Case& c : cases)
        ageFile(program.writeFile(c.file, "x"), c.age);

    EXPECT_EQ(removeLeftoverTemporaryFiles(), 4);
    for (const Case& c : cases)
        EXPECT_EQ(QFile::exists(program.filePath(c.file)), !c.removed) << c.file;
}

TEST(FileProcedures, FileAndFolderExistence)
{
    TempProgramFolder program;
    const QString folder = program.makeFolder("Items");
    const QString empty = program.makeFolder("Empty");
    const QString file = program.writeFile("Items/Group.QVI", "x");
    const QString missing = program.filePath("Missing");

    struct Case {
        QString path;
        bool file;
        bool folder;
    };
    const Case cases[] = {
        {file, true, false},
        {folder, true, true},
        {folder + "/", false, true},
        {empty, true, true},
        {empty + "/", false, true},
        {folder + "/*.QVI", true, false},
        {folder + "/*.qvi", true, false}, // extensions match without regard to case
        {folder + "/*.QVC", false, false},
        {folder + "/Gr?up.QVI", true, false},
        {empty + "/*.*", true, false}, // the folder's own entry matches, as it always did
        {empty + "/*.QVI", false, false},
        {missing, false, false},
        {missing + "/*.QVI", false, false},
        {QString(), false, true}, // "" names the root folder for the folder test
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FileExists(c.path), c.file) << c.path.toStdString();
        EXPECT_EQ(FolderExists(c.path), c.folder) << c.path.toStdString();
    }
}

TEST(FileProcedures, PathSplitters)
{
    struct Case {
        QString path;
        QString folder;
        QString name;
    };
    const Case cases[] = {
        {"/mnt/share/Firm on PC.QVNET", "/mnt/share/", "Firm on PC.QVNET"},
        {"\\\\server\\share\\Firm.QVNET", "\\\\server\\share\\", "Firm.QVNET"},
        {"//server/share/Firm.QVNET", "//server/share/", "Firm.QVNET"},
        {"C:\\Data/mixed\\a.QVT", "C:\\Data/mixed\\", "a.QVT"},
        {"/home/user/folder/", "/home/user/folder/", "folder"},
        {"Group.QVI", "-1", "Group.QVI"},
        {"", "-1", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetFolderOfPath(c.path), c.folder) << c.path.toStdString();
        EXPECT_EQ(GetFileNameOnly(c.path), c.name) << c.path.toStdString();
    }
}

TEST(FileProcedures, HideAndUnhideLeaveTheFileAndItsPermissionsAlone)
{
    TempProgramFolder program;
    const QString file = program.writeFile("doc.QVI", "content");
    const auto readOnly = QFileDevice::ReadOwner | QFileDevice::ReadGroup;
    QFile::setPermissions(file, readOnly);
    HideFile(file);
    EXPECT_EQ(QFile::permissions(file) & 0x7077, readOnly);
    UnhideFile(file);
    EXPECT_EQ(QFile::permissions(file) & 0x7077, readOnly);
    UnhideFile(program.filePath("missing")); // a missing file is no failure
    EXPECT_TRUE(QFile::exists(file));
}

TEST(FileProcedures, CopyFolderTreeCopiesEveryDepthAndReplacesOnlyWhenAsked)
{
    TempProgramFolder program;
    program.writeFile("src/Items/a.QVI", "new a");
    program.writeFile("src/Template/Item/Item Form.xls", "form");
    program.makeFolder("src/Forms");
    const QString existing = program.writeFile("dst/Items/a.QVI", "old a");
    const QString other = program.writeFile("dst/keep.txt", "kept");

    EXPECT_FALSE(CopyFolderTree(program.filePath("src"), program.filePath("dst"), false));

    ASSERT_TRUE(CopyFolderTree(program.filePath("src"), program.filePath("dst"), true));
    QFile copied(existing);
    ASSERT_TRUE(copied.open(QIODevice::ReadOnly));
    EXPECT_EQ(copied.readAll(), "new a");
    EXPECT_TRUE(QFile::exists(program.filePath("dst/Template/Item/Item Form.xls")));
    EXPECT_TRUE(QFileInfo(program.filePath("dst/Forms")).isDir());
    EXPECT_TRUE(QFile::exists(other));

    EXPECT_FALSE(CopyFolderTree(program.filePath("nowhere"), program.filePath("dst2"), true));
}

// A save going on (or one that died) is never copied to a host share as a document.
TEST(FileProcedures, CopyFolderTreeLeavesTemporaryFilesBehind)
{
    TempProgramFolder program;
    program.writeFile("src/Items/a.QVI", "a");
    program.writeFile("src/Items/.a.QVI.~1f2e", "half a save going on");
    ageFile(program.writeFile("src/sys/.0.dat.~7", "a dead save"), 2 * 24 * 3600);
    program.writeFile("src/Items/.b.QVI", "a hidden document");

    ASSERT_TRUE(CopyFolderTree(program.filePath("src"), program.filePath("dst"), true));
    EXPECT_TRUE(QFile::exists(program.filePath("dst/Items/a.QVI")));
    EXPECT_TRUE(QFile::exists(program.filePath("dst/Items/.b.QVI")));
    EXPECT_FALSE(QFile::exists(program.filePath("dst/Items/.a.QVI.~1f2e")));
    EXPECT_FALSE(QFile::exists(program.filePath("dst/sys/.0.dat.~7")));
    EXPECT_TRUE(QFile::exists(program.filePath("src/Items/.a.QVI.~1f2e"))); // not the copy's to remove
}

TEST(FileProcedures, MachineReadings)
{
    EXPECT_GE(GetProcessorSpeed(), 0);
    EXPECT_EQ(GetWindowsUserName(), platform::userName());
}
