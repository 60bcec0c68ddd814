#pragma once
// The print queues the system's print service knows, asked through libcups at run time
// (so building needs no print-service headers).

#include <QStringList>
#include <optional>

namespace platform::calc {

class CupsDestinations {
public:
    // The queue names ("name" or "name/instance"); nullopt when libcups cannot be loaded.
    // A print server that does not answer gives an empty list.
    static std::optional<QStringList> list();
};

} // namespace platform::calc
