#pragma once
// The help viewer of this machine: a help file's topic shown by an installed help program,
// started on its own so that the program never waits for it.

#include "platform/desktop.h"

#include <QStringList>

namespace platform {

class ChmHelpViewer : public HelpViewer {
public:
    bool showTopic(const QString& helpFile, const QString& windowName, const QString& topic) override;

    // The program and arguments that would show the topic; an empty program when no viewer
    // is installed.
    struct Command {
        QString program;
        QStringList arguments;
    };
    static Command commandFor(const QString& helpFile, const QString& topic);
};

} // namespace platform
