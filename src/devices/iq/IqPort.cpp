#include "devices/iq/IqPort.h"

namespace quorvanta::iq {

void configurePort(TVaComm& port) {
  port.setBaudrate(br9600);
  setLine8N1(port, DtrRtsRaised);
  port.setMonitorEvents(TVaCommEvents{ceRxChar});
  port.setEventPriority(tpHigher);
}

}  // namespace quorvanta::iq
