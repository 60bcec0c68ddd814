// Lists the print queues through libcups, loaded when first needed.

#include "platform/calc/cupsdestinations.h"

#include <dlfcn.h>

namespace platform::calc {

namespace {

// libcups's destination record; its layout is part of the library's stable interface.
struct Destination {
    char* name;
    char* instance;
    int isDefault;
    int optionCount;
    void* options;
};

using GetDests = int (*)(Destination**);
using FreeDests = void (*)(int, Destination*);
using SetServer = void (*)(const char*);

} // namespace

std::optional<QStringList> CupsDestinations::list()
{
    static void* library = ::dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!library)
        return std::nullopt;
    const auto getDests = reinterpret_cast<GetDests>(::dlsym(library, "cupsGetDests"));
    const auto freeDests = reinterpret_cast<FreeDests>(::dlsym(library, "cupsFreeDests"));
    const auto setServer = reinterpret_cast<SetServer>(::dlsym(library, "cupsSetServer"));
    if (!getDests || !freeDests || !setServer)
        return std::nullopt;
    // libcups keeps the server it first found; ask the one the environment names now, as
    // the office started from this environment does.
    setServer(nullptr);
    Destination* dests = nullptr;
    const int count = getDests(&dests);
    QStringList names;
    for (int i = 0; i < count; ++i) {
        const QString name = QString::fromLocal8Bit(dests[i].name);
        names << (dests[i].instance ? name + QLatin1Char('/') + QString::fromLocal8Bit(dests[i].instance) : name);
    }
    freeDests(count, dests);
    return names;
}

} // namespace platform::calc
