#include "views/Relief.h"

#include <cmath>

#include <gtest/gtest.h>

#include "flight/Geodesy.h"

namespace quorvanta {
namespace {

// A model of `rows` x `cols` cells one radian-thousandth apart, north-west
// corner at (1, 0), with the heights a function gives.
template <typename Height>
TerrainModel model(int rows, int cols, Height height) {
  TerrainModel m;
  m.DemRows = rows;
  m.DemCols = cols;
  m.DemNoData = -32768;
  m.DemNorth = 1.0;
  m.DemWest = 0.0;
  m.DemLatStep = m.DemLonStep = 0.001;
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < cols; ++c) m.DemGrid.push_back(static_cast<std::int16_t>(height(r, c)));
  }
  return m;
}

TEST(Relief, SchemeColours) {
  EXPECT_EQ(ReliefColour(0, StandardScheme, false), (Rgb{0, 0, 197}));
  EXPECT_EQ(ReliefColour(1, GreyScheme, false), (Rgb{255, 255, 255}));
  EXPECT_EQ(ReliefColour(1.5, GreyScheme, false), (Rgb{0, 0, 0}));  // out of range: 0
  EXPECT_EQ(ReliefColour(0.1, GreyScheme, true), ReliefColour(std::log10(1.9), GreyScheme, false));
  EXPECT_EQ(ReliefColour(0.1, GreyScheme, true).r, 71);  // 255 * 0.279
  EXPECT_EQ(ReliefColour(0, ContrastScheme, false), (Rgb{96, 0, 207}));
  EXPECT_EQ(ReliefColour(1, ContrastScheme, false), (Rgb{207, 0, 96}));
  EXPECT_EQ(ReliefColour(0.5, VividScheme, false),
            (Rgb{static_cast<std::uint8_t>(std::nearbyint(207 * std::sin(0.5 * Pi))), 0, 0}));
  EXPECT_EQ(HalfColour({255, 100, 3}), (Rgb{127, 50, 1}));
  EXPECT_EQ(ShadeColour({255, 100, 3}), (Rgb{170, 67, 2}));
}

TEST(Relief, ContourBandsAtEveryTenthOfTheRange) {
  const auto plain = reliefColourTable({});
  const auto banded = reliefColourTable({.contours = true});
  for (int i = 0; i <= 1000; ++i) {
    const bool band = i % 100 >= 1 && i % 100 <= 10 && i <= 910;
    const auto k = static_cast<std::size_t>(i);
    EXPECT_EQ(banded[k], band ? HalfColour(plain[k]) : plain[k]) << i;
  }
  EXPECT_EQ(banded[OutsideIndex], (Rgb{0, 0, 0}));
  EXPECT_EQ(banded[NoDataIndex], (Rgb{128, 128, 128}));

  // Heights 400..1400 under the map: 405 m gets index 5, in the first band.
  const TerrainModel m = model(3, 3, [](int r, int c) {
    if (r == 0) return c == 0 ? 1400 : 400;
    return 400 + r + 3 * c;
  });
  const MapRect rect{1.0, 0.997, 0.003, 0.0};
  const ReliefRange range = reliefRange(m, rect);
  EXPECT_EQ(range.low, 400);
  EXPECT_EQ(range.high, 1400);
  EXPECT_EQ(reliefIndex(m, rect, 3, 3, range, false)[1 * 3 + 2], 5);  // pixel (1, 2): cell (2, 1)
}

TEST(Relief, InterpolationUsesFourCellsAndNeverTheLastRowOrColumn) {
  const TerrainModel m = model(2, 2, [](int r, int c) { return r == 0 && c == 0 ? 1000 : 0; });
  const ReliefRange range{0, 1000};
  // A map whose pixel (0, 1) lies exactly on cell (0, 0).
  const MapRect rect{1.001, 0.999, 0.002, 0.0};
  const auto index = reliefIndex(m, rect, 2, 2, range, true);
  // On the cell: weight 10 against 1/1.1, 1/1.1 and 1/4.1, so 829 rather than 1000.
  EXPECT_EQ(index[1], 829);
  // Pixel (1, 1) lies on column 1: the last column, outside with interpolation.
  EXPECT_EQ(index[3], OutsideIndex);
  const auto nearest = reliefIndex(m, rect, 2, 2, range, false);
  EXPECT_EQ(nearest[1], 1000);
  EXPECT_EQ(nearest[3], 0);
}

TEST(Relief, NoDataSingleHeightAndShading) {
  const TerrainModel flat = model(4, 4, [](int, int) { return 700; });
  const MapRect rect{1.0, 0.996, 0.004, 0.0};
  const ReliefRange single = reliefRange(flat, rect);
  EXPECT_EQ(single.low, single.high);
  const auto zero = reliefIndex(flat, rect, 3, 3, single, true);
  EXPECT_EQ(zero[0], 0);

  const TerrainModel holed = model(4, 4, [](int r, int c) { return r == 1 && c == 1 ? -32768 : 500; });
  EXPECT_EQ(reliefIndex(holed, rect, 3, 3, {400, 600}, true)[4], NoDataIndex);

  // A flat area is never shaded; a slope falling to the south-east is.
  const auto colours = reliefColourTable({.scheme = GreyScheme});
  std::vector<std::int16_t> level(9, 500), slope = {900, 600, 300, 600, 300, 0, 300, 0, 0};
  std::uint32_t pixels[9];
  writeReliefPixels(level, 3, 3, colours, true, pixels, 3);
  EXPECT_EQ(pixels[0], 0xff808080u);
  writeReliefPixels(slope, 3, 3, colours, true, pixels, 3);
  const Rgb shaded = ShadeColour(colours[900]);
  EXPECT_EQ(pixels[0], 0xff000000u | shaded.r << 16 | shaded.g << 8 | shaded.b);
  const Rgb lastColumn = colours[300];  // the last column is never shaded
  EXPECT_EQ(pixels[2], 0xff000000u | lastColumn.r << 16 | lastColumn.g << 8 | lastColumn.b);
}

}  // namespace
}  // namespace quorvanta
