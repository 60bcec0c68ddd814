#include "services/spreadsheetcommand.h"

#include "datafiles/datafoldertree.h"
#include "datafiles/fileprocedures.h"
#include "datafiles/settingsstore.h"
#include "grid/documents/excelsteps.h"

namespace services {

void playSpreadsheetSound(const SoundPlayer& play)
{
    const QString sound = datafiles::soundFilePath();
    if (play && datafiles::FileExists(sound))
        play(sound);
}

std::optional<UserMessage> spreadsheetRefusal(const datafiles::SettingsStore& store)
{
    if (store.lblEXCELSTATUS.value() != QLatin1String("NERADI"))
        return std::nullopt;
    return UserMessage{QStringLiteral("Quorvane failed to initialize Microsoft Excel"), platform::MsgStyle::Critical,
                       grid::ExcelSteps::ExcelErrorTitle};
}

std::optional<UserMessage> beginSpreadsheetCommand(const datafiles::SettingsStore& store, const SoundPlayer& play)
{
    playSpreadsheetSound(play);
    return spreadsheetRefusal(store);
}

} // namespace services
