#include "cli/DownloadArguments.h"
#include "devices/pmlr/MlrSession.h"
#include "devices/pmlr/PmlrDownload.h"
#include "devices/pmlr/RenschlerSession.h"
#include "flight/DayCount.h"
#include "flight/FieldText.h"

#include <algorithm>
#include <iterator>
#include <ostream>

namespace quorvanta::cli {

namespace {

constexpr double WholeDayEnd = 86399.5 / 86400;  // the window's end picker preset, 23:59:59.5

// "HH:MM:SS" as a fraction of the day.
std::optional<double> timeOfDay(const std::string& text) {
  if (text.size() != 8 || text[2] != ':' || text[5] != ':') return std::nullopt;
  const auto hour = integerField(text.substr(0, 2));
  const auto minute = integerField(text.substr(3, 2));
  const auto second = integerField(text.substr(6, 2));
  if (!hour || !minute || !second) return std::nullopt;
  return encodeTime(*hour, *minute, *second);
}

// "YYYY-MM-DD" as a day count.
std::optional<double> calendarDate(const std::string& text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  const auto year = integerField(text.substr(0, 4));
  const auto month = integerField(text.substr(5, 2));
  const auto day = integerField(text.substr(8, 2));
  if (!year || !month || !day) return std::nullopt;
  return encodeDate(*year, *month, *day);
}

// The window of "--from", "--to" and "--date" as the window's pickers would
// hold them; "--date" is needed whenever a window is asked for.
std::optional<std::optional<pmlr::TimeWindow>> timeWindow(const DownloadArguments& args) {
  if (!args.has("--from") && !args.has("--to") && !args.has("--date")) return std::optional<pmlr::TimeWindow>{};
  const auto start = args.has("--from") ? timeOfDay(args.option("--from")) : 0.0;
  const auto end = args.has("--to") ? timeOfDay(args.option("--to")) : WholeDayEnd;
  const auto date = calendarDate(args.option("--date"));
  if (!start || !end || !date) return std::nullopt;
  return pmlr::TimeWindow{*start, *end, *date};
}

template <std::size_t N>
bool offered(const int (&speeds)[N], int speed) {
  return std::find(std::begin(speeds), std::end(speeds), speed) != std::end(speeds);
}

// MLR and Log_it! share one window, whose identification tells them apart.
int downloadPmlr(bool renschler, const DownloadArguments& args, std::ostream& out,
                 std::ostream& err) {
  const auto speed = args.has("--speed") ? integerField(args.option("--speed")) : 0;
  const bool speedOffered = speed && (*speed == 0 || (renschler ? offered(pmlr::RenschlerSpeeds, *speed)
                                                                : offered(pmlr::MlrSpeeds, *speed) ||
                                                                      offered(pmlr::LogItSpeeds, *speed)));
  const auto window = timeWindow(args);
  if (!speedOffered || !window) {
    err << (renschler ? "--speed 19200|38400" : "--speed 4800|19200|38400|57600")
        << ", --from HH:MM:SS, --to HH:MM:SS und zu ihnen --date JJJJ-MM-TT erwartet.\n";
    return 2;
  }
  auto header = headerFromArguments(args);
  if (const auto* problems = std::get_if<std::string>(&header)) {
    err << *problems << "\n";
    return 2;
  }
  pmlr::PmlrDownloadRequest request;
  request.renschler = renschler;
  request.speed = *speed;
  request.device = args.option("--device");
  request.transcriptPath = args.option("--transcript");
  request.header = std::get<IgcHeaderValues>(std::move(header));
  request.window = *window;
  request.now = localNow;
  const auto report = [&err](std::string_view line) { err << line << "\n"; };
  return reportOutcome(pmlr::downloadPmlrTrack(request, report), out, err);
}

}  // namespace

int downloadMlr(const DownloadArguments& args, std::ostream& out, std::ostream& err) {
  return downloadPmlr(false, args, out, err);
}

int downloadRenschler(const DownloadArguments& args, std::ostream& out, std::ostream& err) {
  return downloadPmlr(true, args, out, err);
}

}  // namespace quorvanta::cli
