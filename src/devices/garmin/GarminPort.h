#pragma once

#include "devices/port/TVaComm.h"

namespace quorvanta::garmin {

// The line settings a Garmin unit in host mode expects: 9600 bit/s, 8 data
// bits, no parity, 1 stop bit, DTR and RTS raised, received characters the
// only event watched.
void configurePort(TVaComm& port);

}  // namespace quorvanta::garmin
