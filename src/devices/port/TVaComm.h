#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "devices/port/CommDispatcher.h"
#include "devices/port/CommPlatform.h"
#include "devices/port/CommTypes.h"

namespace quorvanta {

class PortLink;

// A serial port as the download windows use it: opened exclusively, with its
// line settings, an event thread that hands received bytes and line events
// to the user-interface thread (through `dispatcher`) and, unless writes go
// straight to the device, a write thread that drains a transmit queue.
// Every operation and every event runs on the user-interface thread.
class TVaComm {
 public:
  explicit TVaComm(CommDispatcher& dispatcher);
  ~TVaComm();
  TVaComm(const TVaComm&) = delete;
  TVaComm& operator=(const TVaComm&) = delete;

  // Properties. PortNum, DeviceName, MonitorEvents, DirectWrite, UpdateDCB
  // and the buffer sizes may change only while the port is closed; the line
  // settings take effect at once on an open port.
  int PortNum() const { return portNum_; }
  void setPortNum(int portNum);
  const std::string& DeviceName() const { return deviceName_; }
  void setDeviceName(std::string deviceName);
  TVaBaudrate Baudrate() const { return line_.baudrate; }
  void setBaudrate(TVaBaudrate baudrate);
  int UserBaudrate() const { return line_.userBaudrate; }
  void setUserBaudrate(int bitsPerSecond);
  TVaParity Parity() const { return line_.parity; }
  void setParity(TVaParity parity);
  TVaDatabits Databits() const { return line_.databits; }
  void setDatabits(TVaDatabits databits);
  TVaStopbits Stopbits() const { return line_.stopbits; }
  void setStopbits(TVaStopbits stopbits);
  bool ParityCheck() const { return line_.parityCheck; }
  void setParityCheck(bool parityCheck);
  const TVaFlowControl& FlowControl() const { return line_.flowControl; }
  void setFlowControl(const TVaFlowControl& flowControl);
  const TVaEventChars& EventChars() const { return line_.eventChars; }
  void setEventChars(const TVaEventChars& eventChars);
  TVaCommOptions Options() const { return line_.options; }
  void setOptions(TVaCommOptions options);
  TVaCommEvents MonitorEvents() const { return monitorEvents_; }
  void setMonitorEvents(TVaCommEvents events);
  const TVaBuffers& Buffers() const { return buffers_; }
  void setBuffers(const TVaBuffers& buffers);
  bool DirectWrite() const { return directWrite_; }
  void setDirectWrite(bool directWrite);
  bool UpdateDCB() const { return updateDcb_; }
  void setUpdateDCB(bool updateDcb);
  TThreadPriority EventPriority() const { return eventPriority_; }
  void setEventPriority(TThreadPriority priority);
  TThreadPriority WritePriority() const { return writePriority_; }
  void setWritePriority(TThreadPriority priority);

  // Maps the device name formatted with the port number ("COM3") to the
  // device's path. By default "COMn" is /dev/ttyS<n-1>; other names are
  // paths already.
  void setDevicePathResolver(std::function<std::string(const std::string& name)> resolver);
  std::string devicePath() const;

  void Open();
  void Close();
  bool IsOpen() const { return fd_ >= 0; }
  int WriteBuffer(const void* data, int count);
  bool WriteText(std::string_view text);
  int ReadBuffer(void* data, int count);
  std::string ReadText();
  int InputCount();
  TVaCommStatus ReadStatus();

  std::function<void()> OnOpen, OnClose, OnCts, OnDsr, OnRlsd, OnRing, OnBreak;
  std::function<void(int errors)> OnError;
  std::function<void(int count)> OnRxChar;
  std::function<void()> OnRxFlag, OnTxEmpty, OnPErr, OnRx80Full, OnEvent1, OnEvent2;
  // The device has gone (unplugged, hung up): called once with the
  // platform's error text, whatever MonitorEvents says. The port stays open
  // until Close, but nothing more is received or sent.
  std::function<void(const std::string& reason)> OnLost;

 private:
  // The properties that make the line settings.
  struct Line {
    TVaBaudrate baudrate = br1200;
    int userBaudrate = 0;
    TVaParity parity = paNone;
    TVaDatabits databits = db8;
    TVaStopbits stopbits = sb1;
    bool parityCheck = false;
    TVaFlowControl flowControl;
    TVaEventChars eventChars;
    TVaCommOptions options;
  };

  void requireClosed() const;
  template <typename Value>
  void changeLineSetting(Value Line::*setting, const Value& value);
  void changeLineSettings(const std::function<void(Line&)>& change);
  bool usable() const;
  void reapplyLineSettings();
  void writeLineSettings();
  void startThreads();
  void stopThreads();
  void finishThread(std::thread& thread);
  int writeDirect(const unsigned char* bytes, int count);
  void dispatchEvents(const PortLink& link, TVaCommEvents events);

  CommDispatcher& dispatcher_;
  int portNum_ = 0;
  std::string deviceName_ = "COM%d";
  Line line_;
  TVaCommEvents monitorEvents_{ceError, ceRxChar, ceTxEmpty};
  TVaBuffers buffers_;
  bool directWrite_ = false;
  bool updateDcb_ = true;
  TThreadPriority eventPriority_ = tpNormal;
  TThreadPriority writePriority_ = tpHighest;
  std::function<std::string(const std::string&)> resolvePath_;

  int fd_ = -1;
  std::shared_ptr<PortLink> link_;
  std::thread eventThread_, writeThread_;
  platform::LineCounters errorBaseline_;
  std::mutex receiveLock_, transmitLock_;
  bool destroying_ = false;
};

// DTR and RTS raised, no handshake: what the instruments that draw their
// line driver's power from those lines need.
inline constexpr TVaFlowControl DtrRtsRaised{false, false, dtrEnabled, rtsEnabled,
                                             false, false, false, false};

// 8 data bits, no parity, 1 stop bit and `flowControl`: the framing every
// instrument uses; its speed and the rest stay the caller's.
void setLine8N1(TVaComm& port, const TVaFlowControl& flowControl = {});

}  // namespace quorvanta
