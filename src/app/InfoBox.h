#pragma once

#include <vector>

#include <QColor>
#include <QWidget>

#include "views/MapTexts.h"

namespace quorvanta {

// The info box about the fix nearest to the mouse ("Punktinfo"), opaque
// white in a thin frame so that its text stays readable over the relief and
// the map bitmap. The pilot can drag it elsewhere.
class InfoBox : public QWidget {
  Q_OBJECT

 public:
  explicit InfoBox(QWidget* parent = nullptr);
  void setLines(std::vector<TextLine> lines, QColor colour);
  const std::vector<TextLine>& lines() const { return lines_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  std::vector<TextLine> lines_;
  QColor colour_ = Qt::black;
  QPoint dragStart_;
};

}  // namespace quorvanta
