#include "app/MapPainter.h"

#include <memory>

#include <gtest/gtest.h>

#include "app/StartPicture.h"
#include "flight/Geodesy.h"

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

TEST(Painter, StartPictureIsAJpegDecodedByLibjpeg) {
  const QImage picture = startPicture();
  EXPECT_EQ(picture.size(), QSize(505, 505));
  EXPECT_TRUE(decodeJpeg("not a jpeg").isNull());
  EXPECT_TRUE(decodeJpeg({}).isNull());
}

}  // namespace
}  // namespace quorvanta
