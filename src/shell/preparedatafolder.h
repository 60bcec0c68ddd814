#pragma once
// Puts the data folder in order before anything reads it: the place in the start-up, right
// after the data folder tree is made and before the settings are loaded, for the steps that
// clear up after a run that did not end cleanly.

namespace shell {

void prepareDataFolder();

} // namespace shell
