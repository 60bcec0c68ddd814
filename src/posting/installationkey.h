#pragma once
// The secret of this installation of the program: random bytes in its own data folder,
// readable by its user only, that never leave this computer. Journal entries naming a file
// outside a shared folder are sealed with it, so that a journal anybody can write into a
// share cannot make this computer rename a file of its own: only entries it sealed itself
// are completed here.

#include "platform/safefile.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace posting {

class InstallationKey {
public:
    // "System/RAzar/posting.key" in the program folder.
    static QString path();
    // The key, when there is one.
    static std::optional<QByteArray> read();
    // The key, made first when there is none yet.
    [[nodiscard]] static platform::FileResult ensure(QByteArray& key);
    // A short name of the key, for the installation's name in journals; "-" without a key.
    static QString fingerprint();
    // The seal of a message with the key; empty without a key.
    static QByteArray seal(const QByteArray& key, const QByteArray& message);
};

} // namespace posting
