// Who works at this station and which station it is, as the store keeps them with a change.

#pragma once

#include <QString>

namespace station {

// The user logged in at this station.
QString userName();
// The name of this computer in the network; "unbekannt" when it has none.
QString computerName();

} // namespace station
