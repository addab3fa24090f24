#pragma once

#include <atomic>
#include <memory>
#include <thread>

#include <QObject>
#include <QString>

#include "optimize/Optimizer.h"

namespace quorvanta {

// One optimization run in a worker thread. The flight record must stay
// unchanged until the run has reported back; progress and the outcome
// arrive as queued signals on the object's thread.
class OptimizationTask : public QObject {
  Q_OBJECT

 public:
  OptimizationTask(const FlightRecord& record, int budget, QObject* parent = nullptr);
  ~OptimizationTask() override;

  void start();
  void cancel() { cancelled_ = true; }

 signals:
  void progressed(int percent);
  void finished(std::shared_ptr<const OptimizationRun> run);
  void failed(QString message, bool cancelled);

 private:
  const FlightRecord& record_;
  int budget_;
  std::atomic<bool> cancelled_{false};
  std::thread worker_;
};

}  // namespace quorvanta
