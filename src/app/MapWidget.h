#pragma once

#include <optional>

#include <QImage>
#include <QWidget>

namespace quorvanta {

// The map square: shows the start picture until the first drawing, then the
// drawn content. Mouse drags draw a rubber band (zoom) or line (pan) over it
// and report where they ended; the nearest fix is marked with a circle. Both
// overlays are drawn in XOR so that they never touch the content.
class MapWidget : public QWidget {
  Q_OBJECT

 public:
  explicit MapWidget(QWidget* parent = nullptr);

  void setStartPicture(QImage picture);
  void setContent(QImage content);
  bool contentShown() const { return !content_.isNull(); }
  const QImage& content() const { return content_; }

  // Mouse handling answers only while this is set (a flight is loaded and
  // the map has been drawn).
  void setLive(bool live) { live_ = live; }
  void setPanMode(bool pan);
  void setMarker(std::optional<QPoint> centre);

 signals:
  void hovered(QPoint position, bool buttonHeld);
  void dragFinished(QPoint start, QPoint last);
  void wheelTurned(bool down);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  QImage startPicture_;
  QImage content_;
  bool live_ = false;
  bool panMode_ = false;
  bool dragging_ = false;
  QPoint dragStart_, dragLast_;
  std::optional<QPoint> marker_;
};

}  // namespace quorvanta
