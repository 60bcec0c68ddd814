#include "datafiles/htmlhelp.h"

#include "platform/desktop.h"
#include "platform/programfolder.h"

namespace datafiles {

HTMLHelp& HTMLHelp::instance()
{
    static HTMLHelp shared;
    return shared;
}

QString HTMLHelp::HHSetHelpFile(int intSelHelpFile) const
{
    if (intSelHelpFile != 1)
        return QString();
    return platform::programFolder() + QStringLiteral("/VURira.chm");
}

void HTMLHelp::HHDisplayTopicURL(long /*CallingForm*/)
{
    const QString window = m_window.trimmed().isEmpty() ? QString() : m_window;
    try {
        platform::helpViewer().showTopic(m_chmFile, window, m_topicUrl);
    } catch (...) {
        // Help is a convenience: a viewer that fails must not disturb the window asking.
    }
}

void HTMLHelp::HHDisplayKeyword(long /*CallingForm*/)
{
    try {
        platform::helpViewer().showTopic(m_chmFile, QString(), QString());
    } catch (...) {
        // As for a topic: the window asking goes on whatever the viewer does.
    }
}

void HTMLHelp::showTopic(const QString& page)
{
    HTMLHelp& help = instance();
    help.CHMFile(help.HHSetHelpFile(1));
    help.HHWindow(QStringLiteral("Main"));
    help.HHTopicURL(page);
    help.HHDisplayTopicURL(0);
}

} // namespace datafiles
