#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include <QObject>
#include <QString>

#include "optimize/Optimizer.h"
#include "optimize/exact/ExactSolver.h"

namespace quorvanta {

// An exact scoring of the loaded flight: the fixes it scored, the rule set
// and the routes it found.
struct ExactRun {
  const exact::RuleSet* rules = nullptr;
  exact::ScoringTrack track;
  exact::ScoreResult result;
};

// One optimization run or exact scoring in a worker thread. The flight
// record must stay unchanged until the run has reported back; progress and
// the outcome arrive as queued signals on the object's thread.
class OptimizationTask : public QObject {
  Q_OBJECT

 public:
  OptimizationTask(const FlightRecord& record, int budget, QObject* parent = nullptr);
  OptimizationTask(const FlightRecord& record, const exact::RuleSet& rules,
                   QObject* parent = nullptr);
  ~OptimizationTask() override;

  void start();
  void cancel() { cancelled_ = true; }

 signals:
  void progressed(int percent);
  void finished(std::shared_ptr<const OptimizationRun> run);
  void scored(std::shared_ptr<const ExactRun> run);
  void failed(QString message, bool cancelled);

 private:
  std::function<void(RunControl&)> work_;
  std::atomic<bool> cancelled_{false};
  std::thread worker_;
};

}  // namespace quorvanta
