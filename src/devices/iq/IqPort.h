#pragma once

#include "devices/port/TVaComm.h"

namespace quorvanta::iq {

// 9600 bit/s, 8N1, DTR and RTS on; the variometer only sends.
void configurePort(TVaComm& port);

}  // namespace quorvanta::iq
