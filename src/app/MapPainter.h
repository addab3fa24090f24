#pragma once

#include <vector>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QString>

#include "views/MapDescription.h"
#include "views/MapScene.h"
#include "views/Relief.h"
#include "views/ResultTexts.h"

namespace quorvanta {

QColor toQColor(Rgb colour);

// Scale bar, height line, take-off and landing circles, the coloured track
// and the route, in that order, over whatever the painter holds already.
void paintMapScene(QPainter& painter, const MapScene& scene);

// The map bitmap stretched into its place, or the overzoom notice.
void paintMapImage(QPainter& painter, const QImage& bitmap, const MapPlacement& placement,
                   const QString& mapPath);

// The relief of the terrain under a square map of side `width`, written row
// by row; `colours` receives the table it was drawn with.
QImage reliefImage(const TerrainModel& terrain, const MapRect& rect, int width,
                   const ReliefOptions& options, ReliefColourTable& colours,
                   const std::function<void(int)>& progress = {});

// The legend strip: relief colours above, the track colour scale below.
QImage legendImage(QSize size, const ReliefColourTable& colours);

// The points panel on a background of the given colour.
void paintPointsPanel(QPainter& painter, const std::vector<PanelText>& panel, QSize size,
                      const QColor& background);

// A text with its top left corner at the point.
void drawTextAt(QPainter& painter, QPoint topLeft, const QString& text);

}  // namespace quorvanta
