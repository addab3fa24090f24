#pragma once

#include <vector>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>

#include "views/MapDescription.h"
#include "views/MapScene.h"
#include "views/Relief.h"
#include "views/ResultTexts.h"

namespace quorvanta {

QColor toQColor(Rgb colour);

// Scale bar, height line, take-off and landing circles, the coloured track
// and the route, in that order, over whatever the painter holds already.
// Over a picture (relief or map bitmap) the track gets a dark outline, so
// that it stands out from colours like its own.
void paintMapScene(QPainter& painter, const MapScene& scene, bool overPicture = false);

// The map bitmap stretched into its place, or the overzoom notice.
void paintMapImage(QPainter& painter, const QImage& bitmap, const MapPlacement& placement,
                   const QString& mapPath);

// The relief of the terrain under a square map of side `width`, written row
// by row; `colours` receives the table it was drawn with.
QImage reliefImage(const TerrainModel& terrain, const MapRect& rect, int width,
                   const ReliefOptions& options, ReliefColourTable& colours,
                   const std::function<void(int)>& progress = {});

// The legend: a strip of relief colours above the track colour scale, and
// under it the heights in metres that the relief colours stand for, at both
// ends and at round values as dense as the labels fit.
inline constexpr QSize LegendSize(505, 22);
inline constexpr int LegendStripHeight = 10;

// A text as drawn: the box it takes in the painter's font at its place.
struct PaintedText {
  QString text;
  QRect rect;
};
using PaintedTexts = std::vector<PaintedText>;

// Pixels kept free around each label; labels closer than that read as one.
inline constexpr int LabelGap = 4;
bool crowded(const PaintedText& a, const PaintedText& b);

struct Legend {
  QImage image;                     // transparent around the labels
  PaintedTexts labels;  // left to right
};

// `heights` is the range the colour table spans; with no valid height in it
// the legend has no labels.
Legend legendImage(QSize size, const ReliefColourTable& colours, const ReliefRange& heights);

// The points panel on a background of the given colour; returns its texts.
PaintedTexts paintPointsPanel(QPainter& painter, const std::vector<PanelText>& panel, QSize size,
                      const QColor& background);

// A text with its top left corner at the point.
void drawTextAt(QPainter& painter, QPoint topLeft, const QString& text);

}  // namespace quorvanta
