#include "shell/preparedatafolder.h"

namespace shell {

void prepareDataFolder()
{
    // Steps that belong here, each before any file of the data folder is read: sweeping the
    // temporary files a safe write left behind when the program was stopped in the middle of
    // it, and completing a posting that a crash interrupted, from its journal.
}

} // namespace shell
