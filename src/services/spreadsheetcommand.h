#pragma once
// The steps every spreadsheet command of a document window begins with: the program's sound
// "System/Sound/2.wav", played when it exists, and the refusal while the start-up probe found
// the spreadsheet program unusable. Most commands take them in this order
// (beginSpreadsheetCommand); an import refuses first and plays the sound later, and the
// payment print asks for its copies before both, so each step is also callable alone.

#include "services/usermessage.h"

#include <QString>
#include <functional>
#include <optional>

namespace datafiles {
class SettingsStore;
}

namespace services {

// Plays a wave file to its end; the program's is platform::playSound.
using SoundPlayer = std::function<void(const QString& wavPath)>;

// Plays the program folder's "System/Sound/2.wav" when it exists; nothing otherwise.
void playSpreadsheetSound(const SoundPlayer& play);

// "Quorvane failed to initialize Microsoft Excel" (critical, titled "Velkorn      Excel Error")
// while the store's lblEXCELSTATUS reads "NERADI"; nothing otherwise.
[[nodiscard]] std::optional<UserMessage> spreadsheetRefusal(const datafiles::SettingsStore& store);

// The sound, then the refusal: the command goes on only when this gives nothing.
[[nodiscard]] std::optional<UserMessage> beginSpreadsheetCommand(const datafiles::SettingsStore& store,
                                                                 const SoundPlayer& play);

} // namespace services
