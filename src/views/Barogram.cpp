#include "views/Barogram.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "flight/DayCount.h"
#include "flight/FieldText.h"
#include "flight/Geodesy.h"
#include "flight/NumberText.h"
#include "views/PixelMath.h"

namespace quorvanta {

namespace {

constexpr double Minute = 60.0 / 86400;

double seconds(const FlightRecord& r, int from, int to) { return (r.FixTime[to] - r.FixTime[from]) * 86400; }

void fillSeries(const FlightRecord& r, SeriesKind kind, AnalysisState& s) {
  const int n = r.FixCount;
  for (int i = 1; i <= n; ++i) s.BaroSeries[i] = 0;
  switch (kind) {
    case SeriesKind::Baro:
      for (int i = 1; i <= n; ++i) s.BaroSeries[i] = r.FixAlt[i];
      s.title = "Barogramm";
      s.SeriesUnit = " m";
      break;
    case SeriesKind::Vario:
      for (int i = 10; i <= n - 1; ++i) {
        const double dt = seconds(r, i, i + 1);
        s.BaroSeries[i] = dt == 0 ? 0 : (r.FixAlt[i + 1] - r.FixAlt[i]) / dt;
      }
      s.title = "Variogramm";
      s.SeriesUnit = " m/s";
      break;
    case SeriesKind::Speed:
      for (int i = 2; i <= n - 1; ++i) {
        const double hours = (r.FixTime[i + 1] - r.FixTime[i]) * 24;
        s.BaroSeries[i] = hours == 0 ? 0
                                     : ArcDistance(r.FixLat[i], r.FixLon[i], r.FixLat[i + 1], r.FixLon[i + 1]) *
                                           EarthRadiusKm / hours;
      }
      s.title = "Groundspeed";
      s.SeriesUnit = "kmh";
      break;
    case SeriesKind::Heading:
      for (int i = 10; i <= n; ++i) {
        s.BaroSeries[i] = Bearing(r.FixLat[i - 1], r.FixLon[i - 1], r.FixLat[i], r.FixLon[i]);
      }
      s.title = "True Heading";
      s.SeriesUnit = "°";
      break;
    default: {
      s.SelectedExt = kind == SeriesKind::Ext1 ? 1 : kind == SeriesKind::Ext2 ? 2 : 3;
      for (int i = 1; i <= n; ++i) s.BaroSeries[i] = r.FixExt[s.SelectedExt][i];
      s.title = extensionTitle(r.ExtCode[s.SelectedExt]);
      s.SeriesUnit = " ";
    }
  }
}

// One direction of the circle search; `right` turns clockwise through south.
struct CircleSearch {
  const FlightRecord& r;
  const FixArray<double>& c;
  std::vector<double> turn;  // d(i), 1-based
  bool right;

  bool passesSouth(int i) const {
    return right ? c[i - 1] < 180 && c[i] >= 180 && turn[static_cast<std::size_t>(i)] > 0
                 : c[i - 1] > 180 && c[i] <= 180 && turn[static_cast<std::size_t>(i)] < 0;
  }
};

std::string circleLine(int number, bool right, int start, int end, double duration,
                       const FixArray<double>& course) {
  std::string line = std::to_string(number) + (right ? ". Kreis rechts n: " : ". Kreis links n: ") +
                     std::to_string(start) + "  m: " + std::to_string(end) +
                     "  Kreisdauer[sec]: " + fixedText(duration, 1, 5) + "   Kurs[n-1..m]:  ";
  for (int i = start - 1; i <= end; ++i) line += fixedText(course[i], 1, 6) + "  ";
  return line;
}

// Finds the circles of one direction; returns their count and total time.
std::pair<int, double> findCircles(const CircleSearch& search, AnalysisState& s, std::string& report) {
  const FlightRecord& r = search.r;
  const int n = r.FixCount;
  int count = 0;
  double total = 0;
  const Rgb colour = search.right ? Rgb{0, 255, 0} : Rgb{255, 0, 0};
  int i = 5;
  while (i < n - 5) {
    if (!search.passesSouth(i)) {
      ++i;
      continue;
    }
    int m = i + 2;
    bool found = false;
    for (; (search.right ? m <= n : m < n) && r.FixTime[m] < r.FixTime[i] + Minute; ++m) {
      if (search.passesSouth(m)) {
        found = true;
        break;
      }
    }
    if (found) {
      ++count;
      const double duration = (r.FixTime[m] - r.FixTime[i]) /
                              (search.c[i] - search.c[m] + 360) * 360 * 86400;
      total += duration;
      report += circleLine(count, search.right, i, m, duration, search.c) + "\r\n";
      for (int k = i - 1; k <= m; ++k) s.CircleColour[k] = colour;
      ++m;  // the end fix was examined
    }
    i = m - 1;
  }
  return {count, total};
}

std::string circleTitle(int count, double total) {
  std::string text = std::to_string(count);
  if (count > 0) text += " (" + fixedText(total / count, 1, 3) + "s)";
  return text;
}

bool meanIntervalBelowSixSeconds(const FlightRecord& r) {
  const int n = r.FixCount;
  if (n <= 40) return false;
  // Whole milliseconds, so that a 6-second logger is not taken for faster.
  const double milliseconds = std::nearbyint(seconds(r, 20, n - 20) * 1000);
  return milliseconds / (n - 40) < 6000;
}

}  // namespace

std::string extensionTitle(const std::string& code) {
  static const std::map<std::string, std::string> Titles = {
      {"enl", "Engine Noise Level"}, {"fxa", "Fix Accuracy"},      {"gsp", "Ground Spped"},
      {"hdm", "Magnetic Heading"},   {"hdt", "True Heading"},      {"ias", "Ind. Airspeed"},
      {"rpm", "Engine RPM"},         {"tas", "True Airspeed"},     {"siu", "Sats in use"},
      {"ten", "True Energy Alt."},   {"trm", "Track Magnetic"},    {"trt", "Track True"},
      {"vxa", "Vert. Fix Accuracy"}, {"wdi", "Wind Direction"},    {"wve", "Wind Velocity"}};
  const auto found = Titles.find(toLower(code));
  return found == Titles.end() ? code : found->second;
}

std::string analyseCircles(const FlightRecord& r, const std::string& caption, AnalysisState& s) {
  std::string report = "Ausgewertete Kreise für " + caption + "\r\n";
  s.ShowCircles = true;
  s.circlesAnalysed = true;
  for (int i = 1; i <= r.FixCount; ++i) s.CircleColour[i] = {128, 128, 128};
  CircleSearch search{r, s.BaroSeries, std::vector<double>(static_cast<std::size_t>(r.FixCount) + 1, 0), true};
  for (int i = 2; i <= r.FixCount; ++i) {
    double d = s.BaroSeries[i] - s.BaroSeries[i - 1];
    if (d < -180) d += 360;
    if (d > 180) d -= 360;
    search.turn[static_cast<std::size_t>(i)] = d;
  }
  const auto [right, rightTotal] = findCircles(search, s, report);
  search.right = false;
  const auto [left, leftTotal] = findCircles(search, s, report);
  s.RightCircles = right;
  s.LeftCircles = left;
  s.title = "Heading  R: " + circleTitle(right, rightTotal) + "  L: " + circleTitle(left, leftTotal);
  return report;
}

std::optional<std::string> ErsterPlot(const FlightRecord& r, SeriesKind kind, int colourMode,
                                      const std::string& caption, AnalysisState& s) {
  s.NeedRecompute = false;
  std::optional<std::string> report;
  if (!s.KeepSeries) {
    s.LeftCircles = s.RightCircles = 0;
    s.ShowCircles = false;
    for (int i = 1; i <= r.FixCount; ++i) {
      s.SeriesColour[i] = TrackColour(r, i, colourMode);
      if (!s.circlesAnalysed) s.CircleColour[i] = s.SeriesColour[i];
    }
    fillSeries(r, kind, s);
    if (kind == SeriesKind::Heading && meanIntervalBelowSixSeconds(r)) report = analyseCircles(r, caption, s);
    static const char* const Colourings[] = {"   Farbe: Höhe", "   Farbe: Groundspeed", "   Farbe: Vario",
                                             "   Farbe: schwarz"};
    if (colourMode >= 0 && colourMode <= 3) s.title += Colourings[colourMode];
  }
  s.KeepSeries = false;
  double max = 0, min = 0;
  for (int i = 1; i <= r.FixCount; ++i) {
    max = std::max(max, s.BaroSeries[i]);
    min = std::min(min, s.BaroSeries[i]);
  }
  s.axis = kind == SeriesKind::Heading && max != min ? headingScale(max, min)
                                                     : axisScale(max, min, kind == SeriesKind::Vario);
  return report;
}

void smoothSeries(FixArray<double>& series, int count) {
  double previous = count >= 1 ? series[1] : 0;
  for (int i = 2; i <= count - 1; ++i) {
    const double current = series[i];
    series[i] = (previous + current + series[i + 1]) / 3;
    previous = current;
  }
}

namespace {

// Keeps the window inside 1..n with at least two fixes where there are two.
void keepWindow(FlightRecord& r) {
  const int n = std::max(r.FixCount, 1);
  r.ViewFirst = std::clamp(r.ViewFirst, 1, n);
  r.ViewLast = std::clamp(r.ViewLast, 1, n);
  if (r.ViewLast <= r.ViewFirst && n >= 2) {
    r.ViewLast = std::min(n, r.ViewFirst + 1);
    r.ViewFirst = r.ViewLast - 1;
  }
}

}  // namespace

void zoomTimeIn(FlightRecord& r) {
  r.ViewLast = r.ViewFirst + (r.ViewLast - r.ViewFirst) / 2;
  keepWindow(r);
}

void zoomTimeOut(FlightRecord& r) {
  r.ViewLast = std::min(r.FixCount, r.ViewFirst + 2 * (r.ViewLast - r.ViewFirst));
  keepWindow(r);
}

void zoomTimeAll(FlightRecord& r) {
  r.ViewFirst = 1;
  r.ViewLast = r.FixCount;
  keepWindow(r);
}

void panTimeRight(FlightRecord& r) {
  const int w = r.ViewLast - r.ViewFirst;
  r.ViewLast = std::min(r.FixCount, r.ViewLast + w);
  r.ViewFirst = r.ViewLast - w;
  keepWindow(r);
}

void panTimeLeft(FlightRecord& r) {
  const int w = r.ViewLast - r.ViewFirst;
  r.ViewFirst = std::max(1, r.ViewFirst - w);
  r.ViewLast = r.ViewFirst + w;
  keepWindow(r);
}

void dragTimeZoom(FlightRecord& r, int pressX, int releaseX, int plotLeft, int plotWidth) {
  const int x1 = std::min(pressX, releaseX), x2 = std::max(pressX, releaseX);
  if (x2 - x1 <= 20 || plotWidth <= 0) return;
  const int span = r.ViewLast - r.ViewFirst;
  const int first = (x1 - plotLeft) * span / plotWidth + r.ViewFirst;
  const int last = (x2 - plotLeft) * span / plotWidth + r.ViewFirst;
  r.ViewFirst = first;
  r.ViewLast = last;
  keepWindow(r);
}

void dragTimePan(FlightRecord& r, int pressX, int releaseX, int plotWidth) {
  if (plotWidth <= 0) return;
  const int k = (releaseX - pressX) * (r.ViewLast - r.ViewFirst) / plotWidth;
  if (releaseX <= pressX) {
    const int first = std::max(1, r.ViewFirst + k);
    r.ViewLast += first - r.ViewFirst;
    r.ViewFirst = first;
  } else {
    const int last = std::min(r.FixCount, r.ViewLast + k);
    r.ViewFirst += last - r.ViewLast;
    r.ViewLast = last;
  }
  keepWindow(r);
}

PlotArea plotArea(int imageWidth, int imageHeight) {
  PlotArea area;
  area.width = static_cast<int>(0.9 * imageWidth);
  area.height = static_cast<int>(0.9 * imageHeight);
  area.left = imageWidth - area.width;
  return area;
}

int timeX(const PlotArea& area, const FlightRecord& r, int fix) {
  const int span = std::max(r.ViewLast - r.ViewFirst, 1);
  return static_cast<int>(static_cast<double>(area.width) / span * (fix - r.ViewFirst) + area.left);
}

int valueY(const PlotArea& area, const AxisScale& axis, double value) {
  return truncatedPixel((1 - axisShare(axis, value)) * area.height);
}

namespace {

int minuteOfDay(double time) {
  const DateTimeParts t = dateTimeParts(time);
  return t.hour * 60 + t.minute;
}

}  // namespace

std::vector<TimeTick> timeTicks(const FlightRecord& r, int stepMinutes) {
  std::vector<TimeTick> ticks;
  if (r.FixCount < 1) return ticks;
  int lastStep = minuteOfDay(r.FixTime[r.ViewFirst]) / stepMinutes;
  for (int i = r.ViewFirst + 1; i <= r.ViewLast; ++i) {
    const int step = minuteOfDay(r.FixTime[i]) / stepMinutes;
    if (step == lastStep) continue;
    lastStep = step;
    ticks.push_back({i, step * stepMinutes});
  }
  return ticks;
}

int timeStep(const FlightRecord& r, int plotWidth, int labelWidth) {
  constexpr int Hour = 60;
  if (timeTicks(r, Hour).size() >= 2) return Hour;
  const double viewMinutes = r.FixCount < 1 ? 0 : (r.FixTime[r.ViewLast] - r.FixTime[r.ViewFirst]) * 1440;
  for (const int step : {1, 2, 5, 10, 15}) {
    if (viewMinutes > 0 && plotWidth * step / viewMinutes >= labelWidth) return step;
  }
  return 30;
}

int fixUnderMouse(const PlotArea& area, const FlightRecord& r, int x) {
  if (area.width <= 0 || r.FixCount < 1) return 1;
  const int j = (x - area.left) * (r.ViewLast - r.ViewFirst) / area.width + r.ViewFirst;
  return std::clamp(std::max(j, r.ViewFirst), 1, r.FixCount);
}

std::string barogramReadout(const FlightRecord& r, const AnalysisState& s, int j, bool baroShown) {
  std::string text = "Trackpunkt Nr. " + std::to_string(j) + "   " + shortDateText(r.FixTime[j]) + "  " +
                     timeOfDayText(r.FixTime[j]) + "    ";
  const double lat = r.FixLat[j], lon = r.FixLon[j];
  text += lat <= 0 ? "Süd: " + AngleText(-lat) : "Nord: " + AngleText(lat);
  text += lon <= 0 ? "   West: " + AngleText(-lon) : "   Ost: " + AngleText(lon);
  text += "   Baro-Höhe: " + std::to_string(r.FixAlt[j]) + "m   ";
  if (!baroShown) {
    text += fixedText(s.BaroSeries[j], 1, 7) + " " + s.SeriesUnit + "  ";
  } else if (r.FixGpsAlt[j] >= 1) {
    text += "   GPS-Höhe: " + std::to_string(r.FixGpsAlt[j]) + "m";
  }
  return text + std::string(17, ' ');
}

}  // namespace quorvanta
