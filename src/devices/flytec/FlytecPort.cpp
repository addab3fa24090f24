#include "devices/flytec/FlytecPort.h"

namespace quorvanta::flytec {

void configurePort(TVaComm& port) {
  port.setBaudrate(br9600);
  port.setDatabits(db8);
  port.setParity(paNone);
  port.setStopbits(sb1);
  port.setFlowControl(TVaFlowControl{});
  port.setMonitorEvents(TVaCommEvents{ceRxChar});
}

}  // namespace quorvanta::flytec
