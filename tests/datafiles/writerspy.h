#pragma once
// Watches every data-file write for the life of a test scope: each write is recorded and
// goes to the disk as usual, unless the test makes the next writes fail.

#include "datafiles/datafilewriter.h"
#include "platform/safefile.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace datafilestest {

class WriterSpy {
public:
    struct Write {
        QString path;
        QByteArray bytes;
    };

    WriterSpy()
    {
        datafiles::setDataFileWriter([this](const QString& path, const QByteArray& bytes) {
            writes.append({path, bytes});
            if (failure)
                return *failure;
            const platform::FileResult result = platform::writeFileAtomically(path, bytes);
            return datafiles::DataFileWrite{result.ok, false, result.error};
        });
    }
    ~WriterSpy() { datafiles::setDataFileWriter({}); }
    WriterSpy(const WriterSpy&) = delete;
    WriterSpy& operator=(const WriterSpy&) = delete;

    int writesTo(const QString& path) const
    {
        int n = 0;
        for (const Write& w : writes)
            n += w.path == path;
        return n;
    }

    QList<Write> writes;
    std::optional<datafiles::DataFileWrite> failure;
};

} // namespace datafilestest
