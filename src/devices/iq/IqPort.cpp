#include "devices/iq/IqPort.h"

namespace quorvanta::iq {

void configurePort(TVaComm& port) {
  port.setBaudrate(br9600);
  port.setDatabits(db8);
  port.setParity(paNone);
  port.setStopbits(sb1);
  TVaFlowControl lines;
  lines.ControlDtr = dtrEnabled;
  lines.ControlRts = rtsEnabled;
  port.setFlowControl(lines);
  port.setMonitorEvents(TVaCommEvents{ceRxChar});
  port.setEventPriority(tpHigher);
}

}  // namespace quorvanta::iq
