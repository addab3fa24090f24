#include "app/MapPainter.h"

#include <memory>

#include <gtest/gtest.h>

#include "app/InfoBox.h"
#include "app/StartPicture.h"
#include "flight/Geodesy.h"
#include "support/TestFiles.h"

namespace quorvanta {
namespace {

TEST(Painter, MapSceneLandsOnItsPixels) {
  auto record = std::make_unique<FlightRecord>();
  for (int i = 1; i <= 3; ++i) {
    record->FixLat[i] = (47 + 0.01 * i) * DegToRad;
    record->FixLon[i] = (11 + 0.01 * i) * DegToRad;
    record->FixValid[i] = i != 3;
  }
  record->FixCount = 3;
  record->MinAlt = 100000;
  const MapRect rect = fitToTrack(*record);
  const MapScene scene = buildMapScene(*record, rect, 400, ValidityMode, 0, DrawnRoute::None, {});

  QImage image(400, 400, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  paintMapScene(painter, scene);
  painter.end();

  // Dots are filled black (off the diagonal the segments run along); the
  // landing circle's fill shows beside the dot.
  const Pixel middle = scene.track[1];
  EXPECT_EQ(image.pixel(middle.x + 1, middle.y + 1), qRgb(0, 0, 0));
  const MapCircle& landing = scene.circles[1];
  const QRect box = QRect(QPoint(landing.corner1.x, landing.corner1.y),
                          QPoint(landing.corner2.x, landing.corner2.y)).normalized();
  EXPECT_EQ(image.pixel(box.center().x() + box.width() / 4, box.center().y()), qRgb(128, 0, 0));
  // The uncertain last fix draws its incoming segment red, halfway along it.
  const Pixel last = scene.track[2];
  EXPECT_EQ(image.pixel((middle.x + last.x) / 2, (middle.y + last.y) / 2), qRgb(255, 0, 0));
  // The scale bar is magenta.
  EXPECT_EQ(image.pixel(scene.scaleFrom.x + 2, scene.scaleFrom.y), qRgb(255, 0, 255));
  EXPECT_EQ(image.pixel(390, 10), qRgb(255, 255, 255));
}

TEST(Painter, OverzoomedMapBitmapIsReplacedByItsNotice) {
  QImage image(200, 200, QImage::Format_RGB32);
  image.fill(Qt::white);
  QImage bitmap(10, 10, QImage::Format_RGB32);
  bitmap.fill(QColor(0, 0, 255));
  QPainter painter(&image);
  paintMapImage(painter, bitmap, {20, 30, 60, 70, false}, "a.map");
  paintMapImage(painter, bitmap, {0, 0, 200, 200, true}, "a.map");
  painter.end();
  EXPECT_EQ(image.pixel(40, 50), qRgb(0, 0, 255));
  EXPECT_EQ(image.pixel(100, 150), qRgb(255, 255, 255));
}

// A level track across the middle of a square of side 200, blue, with no
// other marks near it.
MapScene levelTrack() {
  MapScene scene;
  scene.width = 200;
  scene.scaleFrom = scene.scaleTo = scene.scaleLabelAt = {10, 190};
  scene.track = {{20, 100}, {100, 100}, {180, 100}};
  scene.trackColours.assign(3, {0, 0, 255});
  return scene;
}

bool dark(QRgb pixel) { return qGray(pixel) < 48; }

TEST(Painter, TrackKeepsItsPlainLookOnWhite) {
  QImage image(200, 200, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  paintMapScene(painter, levelTrack());
  painter.end();
  EXPECT_EQ(image.pixel(60, 100), qRgb(0, 0, 255));
  EXPECT_EQ(image.pixel(60, 99), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(60, 101), qRgb(255, 255, 255));
}

TEST(Painter, TrackOverTheReliefHasADarkOutlineInEveryScheme) {
  TerrainModel terrain;
  ASSERT_FALSE(loadTerrainModel((test::testDataDir() / "dem" / "pyrenees").string(), terrain));
  const double deg = DegToRad;
  const MapRect rect{42.6 * deg, 42.2 * deg, 1.6 * deg, 1.2 * deg};
  for (const int scheme : {StandardScheme, ContrastScheme, GreyScheme, VividScheme}) {
    ReliefColourTable colours;
    QImage image = reliefImage(terrain, rect, 200, {.scheme = scheme}, colours);
    QPainter painter(&image);
    paintMapScene(painter, levelTrack(), true);
    painter.end();
    for (int x = 30; x <= 170; x += 10) {
      EXPECT_EQ(image.pixel(x, 100), qRgb(0, 0, 255)) << scheme << " at " << x;
      EXPECT_TRUE(dark(image.pixel(x, 99)) && dark(image.pixel(x, 101))) << scheme << " at " << x;
    }
  }
}

TEST(Painter, InfoBoxHidesWhatLiesBehindIt) {
  const QColor behind(20, 30, 90);
  QWidget map;
  map.resize(300, 200);
  map.setAutoFillBackground(true);
  QPalette palette = map.palette();
  palette.setColor(QPalette::Window, behind);
  map.setPalette(palette);
  InfoBox box(&map);
  box.move(40, 30);
  box.setLines({{8, "Nr. 12  UTC: 12:00:00"}, {22, "N 47°00'00\"  E 11°00'00\""}}, Qt::black);
  map.show();
  const QImage shot = map.grab().toImage();

  EXPECT_EQ(shot.pixel(10, 10), behind.rgb());
  const QRect inside = box.geometry().adjusted(1, 1, -1, -1);
  int white = 0, text = 0;
  for (int y = inside.top(); y <= inside.bottom(); ++y) {
    for (int x = inside.left(); x <= inside.right(); ++x) {
      const QRgb pixel = shot.pixel(x, y);
      ASSERT_NE(pixel, behind.rgb()) << x << "," << y;
      (pixel == qRgb(255, 255, 255) ? white : text) += 1;
    }
  }
  EXPECT_GT(text, 50);  // the text was written
  EXPECT_GT(white, text);
  EXPECT_EQ(shot.pixel(box.x(), box.y() + 40), qRgb(96, 96, 96));  // the frame
}

std::vector<int> labelledHeights(const Legend& legend) {
  std::vector<int> heights;
  for (const PaintedText& label : legend.labels) {
    EXPECT_TRUE(label.text.endsWith(" m")) << label.text.toStdString();
    heights.push_back(label.text.chopped(2).toInt());
  }
  return heights;
}

bool writtenIn(const QImage& image, const QRect& rect) {
  for (int y = rect.top(); y <= rect.bottom(); ++y) {
    for (int x = rect.left(); x <= rect.right(); ++x) {
      if (qAlpha(image.pixel(x, y)) > 128 && dark(image.pixel(x, y))) return true;
    }
  }
  return false;
}

TEST(Painter, LegendNamesTheHeightsOfItsEndsAndRoundValuesBetween) {
  const ReliefColourTable colours = reliefColourTable({});
  for (const ReliefRange heights : {ReliefRange{437, 3112}, ReliefRange{-12, 96}, ReliefRange{0, 8848}}) {
    const Legend legend = legendImage(LegendSize, colours, heights);
    ASSERT_EQ(legend.image.size(), LegendSize);
    const std::vector<int> shown = labelledHeights(legend);
    ASSERT_GE(shown.size(), 4u) << heights.low << ".." << heights.high;
    EXPECT_EQ(shown.front(), heights.low);
    EXPECT_EQ(shown.back(), heights.high);
    EXPECT_EQ(legend.labels.front().rect.left(), 0);
    EXPECT_EQ(legend.labels.back().rect.right(), LegendSize.width() - 1);
    const int step = shown[2] - shown[1];
    for (std::size_t k = 1; k + 1 < shown.size(); ++k) {
      EXPECT_EQ(shown[k] % step, 0) << shown[k];
      if (k > 1) {
        EXPECT_EQ(shown[k] - shown[k - 1], step);
      }
      const double x = (shown[k] - heights.low) * LegendSize.width() / double(heights.high - heights.low);
      EXPECT_NEAR(legend.labels[k].rect.center().x(), x, 1.5);
    }
    for (std::size_t k = 0; k < legend.labels.size(); ++k) {
      const QRect& rect = legend.labels[k].rect;
      EXPECT_TRUE(QRect(QPoint(0, LegendStripHeight), LegendSize).contains(rect));
      EXPECT_TRUE(writtenIn(legend.image, rect)) << legend.labels[k].text.toStdString();
      if (k > 0) {
        EXPECT_LT(legend.labels[k - 1].rect.right(), rect.left());
      }
    }
  }
}

TEST(Painter, LegendStripKeepsItsColours) {
  const ReliefColourTable colours = reliefColourTable({.scheme = GreyScheme});
  const Legend legend = legendImage(LegendSize, colours, {100, 200});
  EXPECT_EQ(legend.image.pixel(0, 0), qRgb(0, 0, 0));
  EXPECT_EQ(legend.image.pixel(LegendSize.width() - 1, 0), toQColor(colours[998]).rgb());
  EXPECT_EQ(legend.image.pixel(0, LegendStripHeight - 1), qRgb(0, 0, 255));
  EXPECT_EQ(qAlpha(legend.image.pixel(LegendSize.width() / 2, LegendSize.height() - 1)), 0);
  EXPECT_TRUE(legendImage(LegendSize, colours, ReliefRange{}).labels.empty());
}

TEST(Painter, StartPictureIsAJpegDecodedByLibjpeg) {
  const QImage picture = startPicture();
  EXPECT_EQ(picture.size(), QSize(505, 505));
  EXPECT_TRUE(decodeJpeg("not a jpeg").isNull());
  EXPECT_TRUE(decodeJpeg({}).isNull());
}

}  // namespace
}  // namespace quorvanta
