#pragma once
// A started program whose settings window is on the screen, with the own company's details
// stored and every host path taken for a network path (the temporary folders stand in for
// shares). Helpers read the settings file and a host file back as they rest.

#include "datafiles/hostfile.h"
#include "datafiles/linefilewriter.h"
#include "platform/programfolder.h"
#include "programfixture.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QTabWidget>

namespace shelltest {

inline const QStringList CompanyDetails{
    QStringLiteral("Mizarstvo Kos d.o.o."), QStringLiteral("Cesta 5"),         QStringLiteral("Kranj"),
    QStringLiteral("4000"),                 QStringLiteral("info@kos.example"), QStringLiteral("04 111 222"),
    QStringLiteral("04 111 333")};

// Stores the own company's details (CompanyDetails) in the settings.
inline void fillCompanyDetails(datafiles::SettingsStore& s)
{
    QList<datafiles::TextField*> fields{&s.CompanyName,  &s.CompanyAddress, &s.CompanyCity, &s.CompanyZip,
                                       &s.CompanyEMail, &s.CompanyFax,     &s.CompanyPhone};
    for (int i = 0; i < fields.size(); ++i)
        *fields[i] = CompanyDetails[i];
}

inline const QString NetworkMessage = QStringLiteral(
    "Quorvane was not able to access network and switched to a single user mode. Note that you must manually "
    "switch back to network mode once you successfully establish connection to network drive");

// Sets the program folder for a scope: two programs in one test each work in their own.
class ProgramFolderScope {
public:
    explicit ProgramFolderScope(const QString& folder) : m_previous(platform::programFolder())
    {
        platform::setProgramFolder(folder);
    }
    ~ProgramFolderScope() { platform::setProgramFolder(m_previous); }

private:
    QString m_previous;
};

class SettingsTest : public ProgramTest {
protected:
    // A settings file with the company's details (and the password), then the start.
    void startWithCompany(const QString& password = QString())
    {
        writeCompanySettings(password);
        startProgram();
        waitForProbe();
        takeFoldersForShares(store());
    }
    static void writeCompanySettings(const QString& password = QString())
    {
        datafiles::CreateDataFolders();
        datafiles::SettingsStore s;
        fillCompanyDetails(s);
        s.CURRENTPASSWORD = password;
        ASSERT_TRUE(datafiles::SaveSettingsFile(s));
    }
    static void takeFoldersForShares(datafiles::SettingsStore& s)
    {
        s.setNetworkPathTest([](const QString&) { return true; });
    }

    datafiles::SettingsStore& store() { return program->store(); }
    shell::frmBalance& settings() { return program->settingsWindow(); }
    // The settings window in front on a tab.
    void showSettingsOn(int tab)
    {
        program->showSettingsWindow();
        settings().SSTab1->setCurrentIndex(tab);
    }

    // The lines of a host file as it rests (scrambled); empty when it is no host file.
    static testsupport::CheckedList<QString> hostLines(const QString& path)
    {
        const auto reading = datafiles::LineFileReader::read(
            path, [](const QStringList& lines) { return !lines.isEmpty() && lines.first() == datafiles::HostMarker; },
            datafiles::LineFileReader::PlainFiles::Refused);
        return reading.lines;
    }
    // A shared folder that stands in for a network share, below the test's program folder.
    QString shareFolder(const QString& name = QStringLiteral("share")) const
    {
        return folder.makeFolder(name) + QLatin1Char('/');
    }

    // Creates a host in the share through the Network tab: Host chosen, the save dialog
    // answered with the host file's path.
    QString createHost(const QString& share)
    {
        const QString hostFile = share + QStringLiteral("Firma.QVNET");
        showSettingsOn(shell::frmBalance::NetworkTab);
        prompts->queueSave(hostFile);
        settings().OptionHost->click();
        return hostFile;
    }
};

} // namespace shelltest
