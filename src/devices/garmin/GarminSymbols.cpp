#include "devices/garmin/GarminSymbols.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <string_view>

namespace quorvanta::garmin {

namespace {

struct NamedSymbol {
  std::uint16_t number;
  std::string_view name;
};

constexpr std::array<std::string_view, 16> BasicSymbols = {
    "dot symbol",           "house symbol", "gas symbol",       "car symbol",
    "fish symbol",          "boat symbol",  "anchor symbol",    "wreck symbol",
    "exit symbol",          "skull symbol", "flag symbol",      "camp symbol",
    "circle with x symbol", "deer symbol",  "first aid symbol", "back track symbol",
};

// Sorted by number: marine, land and aviation groups.
constexpr NamedSymbol Symbols[] = {
    {0, "white anchor symbol"},
    {1, "white bell symbol"},
    {2, "green diamond symbol"},
    {3, "red diamond symbol"},
    {4, "diver down flag 1"},
    {5, "diver down flag 2"},
    {6, "white dollar symbol"},
    {7, "white fish symbol"},
    {8, "white fuel symbol"},
    {9, "white horn symbol"},
    {10, "white house symbol"},
    {11, "white knife & fork symbol"},
    {12, "white light symbol"},
    {13, "white mug symbol"},
    {14, "white skull and crossbones symbol"},
    {15, "green square symbol"},
    {16, "red square symbol"},
    {17, "white buoy waypoint symbol"},
    {18, "waypoint dot"},
    {19, "white wreck symbol"},
    {20, "null symbol (transparent)"},
    {21, "man overboard symbol"},
    {22, "amber map buoy symbol"},
    {23, "black map buoy symbol"},
    {24, "blue map buoy symbol"},
    {25, "green map buoy symbol"},
    {26, "green/red map buoy symbol"},
    {27, "green/white map buoy symbol"},
    {28, "orange map buoy symbol"},
    {29, "red map buoy symbol"},
    {30, "red/green map buoy symbol"},
    {31, "red/white map buoy symbol"},
    {32, "violet map buoy symbol"},
    {33, "white map buoy symbol"},
    {34, "white/green map buoy symbol"},
    {35, "white/red map buoy symbol"},
    {36, "white dot symbol"},
    {37, "radio beacon symbol"},
    {150, "boat ramp symbol"},
    {151, "campground symbol"},
    {152, "restrooms symbol"},
    {153, "shower symbol"},
    {154, "drinking water symbol"},
    {155, "telephone symbol"},
    {156, "first aid symbol"},
    {157, "information symbol"},
    {158, "parking symbol"},
    {159, "park symbol"},
    {160, "picnic symbol"},
    {161, "scenic area symbol"},
    {162, "skiing symbol"},
    {163, "swimming symbol"},
    {164, "dam symbol"},
    {165, "controlled area symbol"},
    {166, "danger symbol"},
    {167, "restricted area symbol"},
    {168, "null symbol"},
    {169, "ball symbol"},
    {170, "car symbol"},
    {171, "deer symbol"},
    {172, "shopping cart symbol"},
    {173, "lodging symbol"},
    {174, "mine symbol"},
    {175, "trail head symbol"},
    {176, "truck stop symbol"},
    {177, "user exit symbol"},
    {178, "flag symbol"},
    {179, "circle with x in the center"},
    {180, "open 24 hours symbol"},
    {181, "fishing hot spots facility"},
    {182, "bottom conditions"},
    {183, "tide/current prediction station"},
    {184, "anchor prohibited symbol"},
    {185, "beacon symbol"},
    {186, "coast guard symbol"},
    {187, "reef symbol"},
    {188, "weedbed symbol"},
    {189, "dropoff symbol"},
    {190, "dock symbol"},
    {191, "marina symbol"},
    {192, "bait and tackle symbol"},
    {193, "stump symbol"},
    {8192, "interstate hwy symbol"},
    {8193, "us hwy symbol"},
    {8194, "state hwy symbol"},
    {8195, "mile marker symbol"},
    {8196, "TracBack (feet) symbol"},
    {8197, "golf symbol"},
    {8198, "small city symbol"},
    {8199, "medium city symbol"},
    {8200, "large city symbol"},
    {8201, "intl freeway hwy symbol"},
    {8202, "intl national hwy symbol"},
    {8203, "capitol city symbol (star)"},
    {8204, "amusement park symbol"},
    {8205, "bowling symbol"},
    {8206, "car rental symbol"},
    {8207, "car repair symbol"},
    {8208, "fast food symbol"},
    {8209, "fitness symbol"},
    {8210, "movie symbol"},
    {8211, "museum symbol"},
    {8212, "pharmacy symbol"},
    {8213, "pizza symbol"},
    {8214, "post office symbol"},
    {8215, "RV park symbol"},
    {8216, "school symbol"},
    {8217, "stadium symbol"},
    {8218, "dept. store symbol"},
    {8219, "zoo symbol"},
    {8220, "convenience store symbol"},
    {8221, "live theater symbol"},
    {8222, "ramp intersection symbol"},
    {8223, "street intersection symbol"},
    {8226, "inspection/weigh station symbol"},
    {8227, "toll booth symbol"},
    {8228, "elevation point symbol"},
    {8229, "exit without services symbol"},
    {8230, "geographic place name, man-made"},
    {8231, "geographic place name, water"},
    {8232, "geographic place name, land"},
    {8233, "bridge symbol"},
    {8234, "building symbol"},
    {8235, "cemetery symbol"},
    {8236, "church symbol"},
    {8237, "civil location symbol"},
    {8238, "crossing symbol"},
    {8239, "historical town symbol"},
    {8240, "levee symbol"},
    {8241, "military location symbol"},
    {8242, "oil field symbol"},
    {8243, "tunnel symbol"},
    {8244, "beach symbol"},
    {8245, "forest symbol"},
    {8246, "summit symbol"},
    {8247, "large ramp intersection symbol"},
    {8248, "large exit without services symbol"},
    {8249, "police/official badge symbol"},
    {8250, "gambling/casino symbol"},
    {8251, "snow skiing symbol"},
    {8252, "ice skating symbol"},
    {8253, "tow truck (wrecker) symbol"},
    {8254, "border crossing (port of entry)"},
    {8255, "geocache"},
    {8256, "geocache found"},
    {8282, "water hydrant symbol"},
    {8284, "blue flag symbol"},
    {8285, "green flag symbol"},
    {8286, "red flag symbol"},
    {8287, "blue pin symbol"},
    {8288, "green pin symbol"},
    {8289, "red pin symbol"},
    {8290, "blue block symbol"},
    {8291, "green block symbol"},
    {8292, "red block symbol"},
    {8293, "bike trail symbol"},
    {8294, "red circle symbol"},
    {8295, "green circle symbol"},
    {8296, "blue circle symbol"},
    {8299, "blue diamond symbol"},
    {8300, "red oval symbol"},
    {8301, "green oval symbol"},
    {8302, "blue oval symbol"},
    {8303, "red rectangle symbol"},
    {8304, "green rectangle symbol"},
    {8305, "blue rectangle symbol"},
    {8308, "blue square symbol"},
    {8351, "blue triangle symbol"},
    {8352, "green triangle symbol"},
    {8353, "red triangle symbol"},
    {16384, "airport symbol"},
    {16385, "intersection symbol"},
    {16386, "non-directional beacon symbol"},
    {16387, "VHF omni-range symbol"},
    {16388, "heliport symbol"},
    {16389, "private field symbol"},
    {16390, "soft field symbol"},
    {16391, "tall tower symbol"},
    {16392, "short tower symbol"},
    {16393, "glider symbol"},
    {16394, "ultralight symbol"},
    {16395, "parachute symbol"},
    {16396, "VOR/TACAN symbol"},
    {16397, "VOR-DME symbol"},
    {16398, "first approach fix"},
    {16399, "localizer outer marker"},
    {16400, "missed approach point"},
    {16401, "TACAN symbol"},
    {16402, "seaplane base"},
};

constexpr std::array<std::string_view, 9> WaypointClasses = {
    "airport waypoint class",
    "intersection waypoint class",
    "NDB waypoint class",
    "VOR waypoint class",
    "user defined waypoint class",
    "airport runway threshold waypoint class",
    "airport intersection waypoint class",
    "airport NDB waypoint class",
    "user defined symbol-only waypoint class",
};

// Letters and numbers in three colours: red, green and blue letters A to D
// (green B and C swapped in Garmin's numbering), then digits 0 to 9.
std::string colouredMarkName(unsigned symbol) {
  static constexpr std::string_view Letters[] = {"A", "B", "C", "D", "A", "C",
                                                 "B", "D", "A", "B", "C", "D"};
  static constexpr std::string_view Colours[] = {"red", "green", "blue"};
  if (symbol >= 8309 && symbol <= 8320) {
    const unsigned index = symbol - 8309;
    return std::string(Colours[index / 4]) + " letter '" + std::string(Letters[index]) + "' symbol";
  }
  const unsigned index = symbol - 8321;
  return std::string(Colours[index / 10]) + " number '" + std::to_string(index % 10) + "' symbol";
}

}  // namespace

std::string basicSymbolName(unsigned symbol) {
  if (symbol < BasicSymbols.size()) return std::string(BasicSymbols[symbol]);
  return "Symbol " + std::to_string(symbol);
}

std::string symbolName(std::uint16_t symbol) {
  if (symbol >= 8309 && symbol <= 8350) return colouredMarkName(symbol);
  const auto found = std::lower_bound(
      std::begin(Symbols), std::end(Symbols), symbol,
      [](const NamedSymbol& entry, std::uint16_t number) { return entry.number < number; });
  if (found != std::end(Symbols) && found->number == symbol) return std::string(found->name);
  return "Symbol " + std::to_string(symbol);
}

std::string waypointClassName(unsigned waypointClass) {
  if (waypointClass < WaypointClasses.size()) return std::string(WaypointClasses[waypointClass]);
  return "Klasse " + std::to_string(waypointClass);
}

}  // namespace quorvanta::garmin
