#pragma once
// A temporary program folder for the life of a test scope: created empty, set as the
// program folder, removed afterwards with the previous program folder restored.

#include <QString>
#include <QTemporaryDir>

namespace testsupport {

class TempProgramFolder {
public:
    TempProgramFolder();
    ~TempProgramFolder();
    TempProgramFolder(const TempProgramFolder&) = delete;
    TempProgramFolder& operator=(const TempProgramFolder&) = delete;

    // The folder, without a trailing separator.
    QString path() const;
    // A path below it ("System/Sound/2.wav" gives "<folder>/System/Sound/2.wav").
    QString filePath(const QString& relative) const;
    // Creates a folder below it (with its parents); returns its full path.
    QString makeFolder(const QString& relative) const;
    // Writes a file below it (creating its folder); returns its full path.
    QString writeFile(const QString& relative, const QByteArray& bytes) const;

private:
    QTemporaryDir dir_;
    QString previous_; // the outer temporary folder, "" for the program's default
};

} // namespace testsupport
