#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <sys/types.h>

#include "devices/port/CommTypes.h"

// The operating system's side of the serial port layer: the only code that
// knows terminal attributes, ioctls and descriptor waits. Functions that fail
// return false or -1 and leave the error code in errno.
namespace quorvanta::platform {

struct LineSettings {
  int bitsPerSecond = 1200;
  TVaDatabits databits = db8;
  TVaParity parity = paNone;
  bool parityCheck = false;
  TVaStopbits stopbits = sb1;
  TVaFlowControl flow;
  TVaEventChars chars;
};

// The driver's running counts of modem-line changes and line errors; `valid`
// is false where the driver keeps none (pseudo-terminals among them).
struct LineCounters {
  bool valid = false;
  int cts = 0, dsr = 0, ring = 0, dcd = 0;
  int framing = 0, overrun = 0, parity = 0, breaks = 0, inputOverflow = 0;
};

// Opens a terminal device for non-blocking reading and writing that no one
// else may open meanwhile; the descriptor, or -1.
int openExclusive(const std::string& path);
void closeDevice(int fd);

// Raw mode with the given speed, character format and flow control, applied
// to the device's current attributes; DTR and RTS as far as the driver allows.
bool applyLineSettings(int fd, const LineSettings& settings);
// Waits until the device has sent what it holds, but not beyond `deadline`.
void drainOutput(int fd, std::chrono::steady_clock::time_point deadline);

bool inputCount(int fd, int& count);
bool outputCount(int fd, int& count);
LineCounters lineCounters(int fd);
// The line-error flags (CommLineError) for the errors counted since `before`.
int lineErrorFlags(const LineCounters& before, const LineCounters& now);

ssize_t readSome(int fd, void* data, std::size_t size);
ssize_t writeSome(int fd, const void* data, std::size_t size);
// The device would block: wait for it rather than fail.
bool isWouldBlock(int code);
// The device has gone: unplugged, hung up, or the other side of a
// pseudo-terminal closed.
bool isLostDevice(int code);
bool isHungUp(int fd);

// A handle that wakes waiters for good once signalled.
int createWakeHandle();
void signalWake(int handle);
void closeWakeHandle(int handle);

enum class DeviceWait { Input, Output, HangUpOnly };
enum class WaitResult { Ready, HungUp, Woken, TimedOut, Failed };
// Waits for the device as asked (a hang-up always ends the wait) or for the
// wake handle, at most `timeoutMs` (-1: without limit). An interrupted wait
// reports TimedOut.
WaitResult waitForDevice(int fd, DeviceWait what, int wakeHandle, int timeoutMs);

// Applies a thread priority level to the calling thread, as far as the
// process may.
void applyThreadPriority(TThreadPriority priority);

}  // namespace quorvanta::platform
