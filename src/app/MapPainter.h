#pragma once

#include <vector>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QString>

#include "views/MapDescription.h"
#include "views/MapScene.h"
#include "views/ResultTexts.h"

namespace quorvanta {

QColor toQColor(Rgb colour);

// Scale bar, height line, take-off and landing circles, the coloured track
// and the route, in that order, over whatever the painter holds already.
void paintMapScene(QPainter& painter, const MapScene& scene);

// The map bitmap stretched into its place, or the overzoom notice.
void paintMapImage(QPainter& painter, const QImage& bitmap, const MapPlacement& placement,
                   const QString& mapPath);

// The points panel on a background of the given colour.
void paintPointsPanel(QPainter& painter, const std::vector<PanelText>& panel, QSize size,
                      const QColor& background);

// A text with its top left corner at the point.
void drawTextAt(QPainter& painter, QPoint topLeft, const QString& text);

}  // namespace quorvanta
