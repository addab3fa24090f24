#include "devices/garmin/GarminSession.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

#include "devices/garmin/GarminPacket.h"
#include "devices/garmin/GarminRecords.h"
#include "devices/garmin/GarminScreen.h"
#include "devices/garmin/GarminTrack.h"
#include "devices/garmin/GarminTrackChoice.h"
#include "devices/garmin/RecordReader.h"
#include "flight/DayCount.h"

namespace quorvanta::garmin {

namespace {

constexpr int WatchdogMs = 1000;
constexpr int AnswerDelayMs = 10;
constexpr int ProductDelayMs = 300;
constexpr int GiveUpMs = 5000;

constexpr std::array<GarminTimer, 4> AllTimers = {Watchdog, AnswerDelay, ProductDelay, GiveUp};

const std::string StalledText =
    "Das Gerät antwortet nicht. Bitte Kabel, Anschluss und Schnittstelleneinstellung "
    "(GARMIN/HOST) prüfen.";
const std::string PortLostText = "Die Verbindung zum Gerät ist unterbrochen.";

// Where the exchange stands between packets.
enum class Phase {
  Idle,
  ProductPause,    // abort sent, the product request follows
  ProductRequest,  // waiting for the product data
  ProtocolWait,    // product data in, waiting for a protocol array
  Transfer,        // a command sent, waiting for its records
};

std::string withCrLf(std::string_view text) {
  std::string lines;
  for (const char c : text) {
    if (c == '\r') continue;
    if (c == '\n') lines += '\r';
    lines += c;
  }
  if (!lines.ends_with("\r\n")) lines += "\r\n";
  return lines;
}

std::string commandData(std::uint8_t code) { return {static_cast<char>(code), '\0'}; }

int firstByte(const Packet& packet) {
  return packet.data.empty() ? 0 : static_cast<unsigned char>(packet.data[0]);
}

int recordCount(std::string_view data) {
  int count = 0;
  for (std::size_t i = std::min<std::size_t>(data.size(), 2); i-- > 0;) {
    count = count << 8 | static_cast<unsigned char>(data[i]);
  }
  return count;
}

}  // namespace

struct GarminSession::State {
  GarminView view;
  PacketFramer framer;
  std::uint8_t currentId = 0;  // the last packet cut, repeated on a watchdog NAK
  bool portOpen = false;
  Phase phase = Phase::Idle;
  std::optional<std::uint8_t> queuedCommand;  // a transfer waiting for the line
  std::uint8_t activeCommand = AbortTransfer;
  // The answer waiting for AnswerDelay, and what is sent after it.
  struct Answer {
    std::uint8_t id, answered;
  };
  std::optional<Answer> answer;
  bool commandDue = false, abortDue = false;
  std::string lastTxLine;

  ProtocolFormats formats;
  bool productData = false, productRequestOver = false;
  std::string unitDescription;
  int tracks = 0, waypoints = 0, routeRecords = 0, almanacRecords = 0;
  TrackTable table;
  bool trackLogComplete = false;
  std::vector<int> itemTracks;  // the track number of each track item
  std::vector<int> itemPoints;  // the table number of each point item

  SessionCommands out;

  SessionCommands flush() { return std::exchange(out, {}); }

  // Built in place: converting into the command variant draws a false
  // uninitialised-string warning from GCC 12. Braced, because clang before
  // 16 cannot initialise an aggregate from parentheses.
  void startTimer(GarminTimer timer, int milliseconds) {
    out.emplace_back(std::in_place_type<StartTimer>, StartTimer{timer, milliseconds});
  }
  void stopTimer(GarminTimer timer) {
    out.emplace_back(std::in_place_type<StopTimer>, StopTimer{timer});
  }

  // A line or lines for the display; the line end is added where missing.
  void show(std::string_view text) {
    appendDisplay(view, text);
    if (!text.ends_with('\n')) appendDisplay(view, "\n");
  }
  void log(std::string_view text) { out.push_back(TranscriptText{withCrLf(text)}); }
  void showAndLog(std::string_view text) {
    show(text);
    log(text);
  }
  void report(const RecordText& text) {
    if (!text.display.empty()) show(text.display);
    if (!text.transcript.empty()) log(text.transcript);
  }

  void send(std::uint8_t id, std::string_view data) {
    if (!portOpen) {
      out.push_back(OpenPort{});
      portOpen = true;
      view.portChooserVisible = false;
    }
    std::string frame = encodePacket(id, data);
    lastTxLine = byteText(frame) + "\n";
    if (view.showRxTx) appendTx(view, lastTxLine);
    out.push_back(WriteBytes{std::move(frame)});
  }
  void sendCommand(std::uint8_t code) { send(Command, commandData(code)); }

  // Receiving

  void receive(std::string_view bytes) {
    if (!portOpen) return;  // late bytes of a port already given up
    if (view.showRxTx) appendRx(view, byteText(bytes));
    framer.append(bytes);
    view.bufferLabel = "Bytes im Eingangspuffer: " + std::to_string(framer.bufferedBytes());
    if (phase == Phase::ProtocolWait) startTimer(ProductDelay, ProductDelayMs);
    evaluateWaiting();
  }

  // Packets wait while an answer is pending, as they did behind its pause.
  void evaluateWaiting() {
    while (!answer) {
      std::optional<Packet> packet = framer.next();
      if (!packet) return;
      evaluate(*packet);
    }
  }

  void evaluate(const Packet& packet) {
    currentId = packet.id;
    if (!packet.lengthOk) rxLine("Fehler Recordlänge");
    if (!packet.checksumOk) rxLine("Fehler Checksumme");
    const bool good = packet.lengthOk && packet.checksumOk;
    if (good && phase != Phase::Idle) startTimer(GiveUp, GiveUpMs);
    if (packet.id == Ack || packet.id == Nak) {
      if (view.showRxTx) {
        show((packet.id == Ack ? "ACK-Record für Record-Typ " : "NAK-Record für Record-Typ") +
             std::to_string(firstByte(packet)));
      }
      return;
    }
    // Pending before the record is decoded, so nothing it starts goes out ahead.
    answer = Answer{good ? Ack : Nak, packet.id};
    if (good) decode(packet);
    startTimer(AnswerDelay, AnswerDelayMs);
  }

  void rxLine(std::string_view text) {
    if (!view.rxText.empty() && !view.rxText.ends_with('\n')) appendRx(view, "\n");
    appendRx(view, std::string(text) + "\n");
  }

  void sendAnswer() {
    if (!answer) return;
    const Answer pending = *std::exchange(answer, std::nullopt);
    send(pending.id, commandData(pending.answered));
    if (std::exchange(abortDue, false)) sendCommand(AbortTransfer);
    if (std::exchange(commandDue, false)) startQueued();
    evaluateWaiting();
  }

  void decode(const Packet& packet) {
    switch (packet.id) {
      case ProductData: return productDataReceived(packet.data);
      case ProtocolArray: return protocolArrayReceived(packet.data);
      case DateTime: return dateTimeReceived(packet.data);
      case Waypoint:
        ++waypoints;
        return report(waypointText(packet.data, formats));
      case RouteHeader:
        ++routeRecords;
        return report(routeHeaderText(packet.data));
      case RouteWaypoint:
        ++routeRecords;
        return report(routeWaypointText(packet.data, formats));
      case Almanac:
        ++almanacRecords;
        return report(almanacText(packet.data));
      case Records: return recordsAnnounced(recordCount(packet.data));
      case TransferComplete: return transferComplete(firstByte(packet));
      case TrackHeader: return trackHeaderReceived(packet.data);
      case TrackPoint: return trackPointReceived(packet.data);
      default: show("Unbekannter RecordTyp " + std::to_string(packet.id));
    }
  }

  // The product request

  void productRequestSequence() {
    resetExchange();
    view.display.clear();
    productRequestOver = false;
    sendCommand(AbortTransfer);
    phase = Phase::ProductPause;
    startTimer(ProductDelay, ProductDelayMs);
  }

  void productDelayOver() {
    if (phase == Phase::ProductPause) {
      send(ProductRequest, "");
      view.commandButtonsVisible = true;
      phase = Phase::ProductRequest;
      startTimer(GiveUp, GiveUpMs);
    } else if (phase == Phase::ProtocolWait) {
      // The line is not quiet yet: a protocol array may be arriving.
      if (answer || framer.bufferedBytes() > 0) return startTimer(ProductDelay, ProductDelayMs);
      productRequestDone();
    }
  }

  void productDataReceived(std::string_view data) {
    report(productDataText(data, unitDescription));
    productData = true;
    if (phase != Phase::ProductRequest) return;
    phase = Phase::ProtocolWait;
    startTimer(ProductDelay, ProductDelayMs);
  }

  void protocolArrayReceived(std::string_view data) {
    report(protocolArrayText(data, view.showRxTx, formats));
    formats.received = true;
    if (phase == Phase::ProductRequest || phase == Phase::ProtocolWait) productRequestDone();
  }

  void productRequestDone() {
    stopTimer(ProductDelay);
    productRequestOver = true;
    if (queuedCommand) return startWhenQuiet();
    phase = Phase::Idle;
    stopTimer(GiveUp);
  }

  // Transfers

  void requestTransfer(std::uint8_t code, bool needsProtocol) {
    const bool productFirst = needsProtocol && !formats.received;
    if (productFirst) productRequestSequence();
    if (code != TransferTime) view.transferRunning = true;
    queuedCommand = code;
    if (!productFirst) startWhenQuiet();
  }

  // A command never goes out between a packet and its answer.
  void startWhenQuiet() {
    if (answer) {
      commandDue = true;
    } else {
      startQueued();
    }
  }

  void startQueued() {
    if (!queuedCommand) return;
    activeCommand = *std::exchange(queuedCommand, std::nullopt);
    phase = Phase::Transfer;
    sendCommand(activeCommand);
    startTimer(GiveUp, GiveUpMs);
  }

  void endTransfer() {
    stopTimer(Watchdog);
    view.transferRunning = false;
    view.progressVisible = false;
    if (phase != Phase::Transfer) return;  // a stray packet must not end a product request
    phase = Phase::Idle;
    stopTimer(GiveUp);
  }

  void recordsAnnounced(int count) {
    showAndLog("Anzahl der folgenden Records: " + std::to_string(count));
    view.progressVisible = true;
    view.progress = 0;
    view.progressMaximum = std::max(count, 1);
    startWatchdog();
  }

  void startWatchdog() {
    if (phase == Phase::Transfer) startTimer(Watchdog, WatchdogMs);
  }

  void watchdogFired() {
    if (phase != Phase::Transfer) return;
    send(Nak, commandData(currentId));
    startTimer(Watchdog, WatchdogMs);
  }

  void dateTimeReceived(std::string_view data) {
    report(dateTimeText(data));
    if (phase == Phase::Transfer && activeCommand == TransferTime) endTransfer();
  }

  void transferComplete(int command) {
    endTransfer();
    const int counts[] = {0, almanacRecords, 0, 0, routeRecords, 0, table.count(), waypoints};
    view.statusLabel = transferCompleteText(command, command < 8 ? counts[command] : 0);
    show(view.statusLabel);
    log("Transfer complete");
    if (command == TransferTrackLog) {
      trackLogComplete = true;
      view.saveButtonVisible = true;
    }
  }

  // The track log

  void trackHeaderReceived(std::string_view data) {
    const std::string name = data.size() > 2 ? RecordReader(data.substr(2)).cText().value_or("")
                                             : std::string();
    showAndLog("Track Header:  " + name);
    startWatchdog();
  }

  void trackPointReceived(std::string_view data) {
    if (phase != Phase::Transfer || activeCommand != TransferTrackLog) return;
    startWatchdog();
    if (!formats.a300 && !formats.a301) {
      formats.a300 = true;
      show("Kein Protokoll-Record, Track Data D300 als Default gesetzt");
    }
    const auto point = decodeTrackPoint(data, formats.a301 ? TrackFormat::D301 : TrackFormat::D300);
    if (!point) {
      show("Ungültiger Trackpunkt (" + std::to_string(data.size()) + " Bytes) übergangen");
      return;
    }
    if (point->newTrack) ++tracks;
    const TrackEntry entry{point->lat, point->lon, point->time, point->alt, tracks};
    show(trackPointDisplayLine(entry, table.count() + 1, point->newTrack));
    log(trackPointTranscriptLine(entry, point->newTrack));
    switch (table.add(entry, point->newTrack)) {
      case TrackTable::Added::Kept:
        view.progress = std::min(table.count(), view.progressMaximum);
        break;
      case TrackTable::Added::Dropped: log("Trackpunkt gelöscht"); break;
      case TrackTable::Added::Full: stopAtCapacity(); break;
    }
  }

  // The table is full: the unit stops after its packet is answered, and what
  // was kept stays ready to be saved.
  void stopAtCapacity() {
    endTransfer();
    abortDue = true;
    trackLogComplete = true;
    view.saveButtonVisible = true;
    const std::string kept = std::to_string(table.count());
    view.statusLabel = "transfer track log abgebrochen (" + kept + " Punkte)";
    view.message = "Der Track hat mehr Punkte, als das Programm aufnehmen kann. Die Übertragung "
                   "wurde nach " + kept + " Punkten abgebrochen; diese Punkte können gespeichert "
                   "werden.";
    showAndLog(view.statusLabel);
  }

  // Ending everything

  // Forgets the exchange under way: timers, the pending answer and command,
  // unread bytes.
  void resetExchange() {
    for (const GarminTimer timer : AllTimers) stopTimer(timer);
    phase = Phase::Idle;
    queuedCommand.reset();
    answer.reset();
    commandDue = abortDue = false;
    framer.clear();
    currentId = 0;
    view.transferRunning = false;
    view.progressVisible = false;
  }

  void closeDown(const std::string& message) {
    resetExchange();
    out.push_back(ClosePort{});
    portOpen = false;
    view.portChooserVisible = true;
    view.message = message;
    show(message);
  }

  void giveUp() {
    if (phase == Phase::Idle) return;
    log(StalledText);
    closeDown(StalledText);
  }

  void abort() {
    resetExchange();
    view.commandButtonsVisible = true;
    view.display.clear();
    view.rxText.clear();
    view.txText.clear();
    sendCommand(AbortTransfer);
  }

  // Choosing and writing

  void showTrackList() {
    if (!productData) productRequestSequence();
    view.page = GarminView::Page::TrackChoice;
    view.bufferLabel.clear();
    view.statusLabel.clear();
    view.trackItems.clear();
    itemTracks.clear();
    for (const TrackGroup& group : trackGroups(table)) {
      view.trackItems.push_back(trackItemText(group));
      itemTracks.push_back(group.track);
    }
    view.trackTicked.assign(view.trackItems.size(), false);
    view.trackBoxesEnabled = true;
    view.nextVisible = false;
    view.pointItems.clear();
    view.pointTicked.clear();
    itemPoints.clear();
    view.doneVisible = false;
  }

  void showPointList() {
    std::vector<int> ticked;
    for (std::size_t i = 0; i < itemTracks.size() && i < view.trackTicked.size(); ++i) {
      if (view.trackTicked[i]) ticked.push_back(itemTracks[i]);
    }
    itemPoints = pointsOfTracks(table, ticked);
    view.pointItems.clear();
    for (const int number : itemPoints) view.pointItems.push_back(pointItemText(table, number));
    view.pointTicked.assign(itemPoints.size(), true);
    view.page = GarminView::Page::PointChoice;
    view.nextVisible = false;
    view.trackBoxesEnabled = false;
    view.doneVisible = true;
  }

  void leavePointList() {
    view.page = GarminView::Page::Transfer;
    view.trackBoxesEnabled = true;
    view.nextVisible = false;
    view.doneVisible = false;
  }
};

GarminSession::GarminSession() : state_(std::make_unique<State>()) {}

GarminSession::~GarminSession() = default;

SessionCommands GarminSession::readProductData() {
  state_->productRequestSequence();
  return state_->flush();
}

SessionCommands GarminSession::readTracks() {
  state_->table.clear();
  state_->tracks = 0;
  state_->trackLogComplete = false;
  state_->view.saveButtonVisible = false;
  state_->requestTransfer(TransferTrackLog, true);
  return state_->flush();
}

SessionCommands GarminSession::readWaypoints() {
  state_->waypoints = 0;
  state_->requestTransfer(TransferWaypoints, true);
  return state_->flush();
}

SessionCommands GarminSession::readDateTime() {
  state_->requestTransfer(TransferTime, false);
  return state_->flush();
}

SessionCommands GarminSession::readRoutes() {
  state_->routeRecords = 0;
  state_->requestTransfer(TransferRoutes, false);
  return state_->flush();
}

SessionCommands GarminSession::readAlmanac() {
  state_->almanacRecords = 0;
  state_->requestTransfer(TransferAlmanac, true);
  return state_->flush();
}

SessionCommands GarminSession::abortTransfer() {
  state_->abort();
  return state_->flush();
}

void GarminSession::setShowRxTx(bool shown) {
  state_->view.showRxTx = shown;
  state_->view.rxText.clear();
  state_->view.txText.clear();
}

SessionCommands GarminSession::received(std::string_view bytes) {
  state_->receive(bytes);
  return state_->flush();
}

SessionCommands GarminSession::timerFired(int timer) {
  switch (timer) {
    case Watchdog: state_->watchdogFired(); break;
    case AnswerDelay: state_->sendAnswer(); break;
    case ProductDelay: state_->productDelayOver(); break;
    case GiveUp: state_->giveUp(); break;
    default: break;
  }
  return state_->flush();
}

SessionCommands GarminSession::writeFailed() {
  GarminView& view = state_->view;
  if (view.showRxTx) {
    if (view.txText.ends_with(state_->lastTxLine)) {
      view.txText.resize(view.txText.size() - state_->lastTxLine.size());
    }
    appendTx(view, "*** Sendefehler ***\n");
  }
  return {};
}

SessionCommands GarminSession::portFailed(const std::string& message) {
  state_->closeDown(message.empty() ? PortLostText : message);
  return state_->flush();
}

SessionCommands GarminSession::showTrackList() {
  state_->showTrackList();
  return state_->flush();
}

void GarminSession::tickTrack(int item, bool ticked) {
  GarminView& view = state_->view;
  if (!view.trackBoxesEnabled || item < 0 || item >= static_cast<int>(view.trackTicked.size())) {
    return;
  }
  view.trackTicked[static_cast<std::size_t>(item)] = ticked;
  view.nextVisible =
      std::find(view.trackTicked.begin(), view.trackTicked.end(), true) != view.trackTicked.end();
}

void GarminSession::showPointList() { state_->showPointList(); }

void GarminSession::tickPoint(int item, bool ticked) {
  GarminView& view = state_->view;
  if (item < 0 || item >= static_cast<int>(view.pointTicked.size())) return;
  view.pointTicked[static_cast<std::size_t>(item)] = ticked;
}

DownloadOutcome GarminSession::writeFile(const IgcHeaderValues& header, double now) {
  State& s = *state_;
  const std::vector<DownloadPoint> points =
      downloadPoints(s.table, s.itemPoints, s.view.pointTicked);
  DownloadOutcome outcome =
      writeDownloadedFlight("AGAR" + header.pilotId + s.unitDescription, header, points, now);
  if (outcome.error) {
    s.view.message = *outcome.error;
    return outcome;
  }
  s.view.statusLabel = outcome.status;
  s.leavePointList();
  return outcome;
}

void GarminSession::leavePointList() { state_->leavePointList(); }

bool GarminSession::productKnown() const {
  return state_->productData && state_->productRequestOver;
}

bool GarminSession::trackLogComplete() const { return state_->trackLogComplete; }

int GarminSession::trackPointCount() const { return state_->table.count(); }

const std::string& GarminSession::unitDescription() const { return state_->unitDescription; }

const GarminView& GarminSession::view() const { return state_->view; }

GarminView& GarminSession::view() { return state_->view; }

std::string transcriptFirstLine(double now) {
  static constexpr std::array<const char*, 7> Weekdays = {
      "Sunday ", "Monday ", "Thuesday ", "Wednesday ", "Thursday ", "Friday ", "Saturday ",
  };
  return Weekdays[static_cast<std::size_t>(dateTimeParts(now).weekday)] + shortDateText(now) +
         "  " + timeOfDayText(now);
}

}  // namespace quorvanta::garmin
