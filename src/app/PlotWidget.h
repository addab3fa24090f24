#pragma once

#include <functional>
#include <optional>

#include <QImage>
#include <QWidget>

namespace quorvanta {

// The drawing area of an analysis window: paints through a function into an
// image of its size, shows an XOR cursor line over it, and reports the
// mouse.
class PlotWidget : public QWidget {
  Q_OBJECT

 public:
  using Painter = std::function<void(QPainter&, QSize)>;
  explicit PlotWidget(Painter painter, QWidget* parent = nullptr);

  // Paints the plot again (the cursor line is cleared).
  void redraw();
  const QImage& image() const { return image_; }
  void setCursorLine(std::optional<int> x);

 signals:
  void pressed(QPoint at);
  void moved(QPoint at, bool buttonHeld);
  void released(QPoint at);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  Painter painter_;
  QImage image_;
  std::optional<int> cursorX_;
  bool buttonHeld_ = false;
};

}  // namespace quorvanta
