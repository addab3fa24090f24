#include "app/OptimizationTask.h"

#include <new>

#include <QMetaObject>

namespace quorvanta {

OptimizationTask::OptimizationTask(const FlightRecord& record, int budget, QObject* parent)
    : QObject(parent) {
  qRegisterMetaType<std::shared_ptr<const OptimizationRun>>();
  work_ = [this, &record, budget](RunControl& control) {
    emit finished(std::make_shared<const OptimizationRun>(optimizeFlight(record, budget, control)));
  };
}

OptimizationTask::OptimizationTask(const FlightRecord& record, const exact::RuleSet& rules,
                                   QObject* parent)
    : QObject(parent) {
  qRegisterMetaType<std::shared_ptr<const ExactRun>>();
  work_ = [this, &record, &rules](RunControl& control) {
    auto run = std::make_shared<ExactRun>();
    run->rules = &rules;
    run->track = exact::wholeScoringTrack(record);
    run->result = exact::scoreTrack(run->track, rules, control);
    emit scored(std::move(run));
  };
}

OptimizationTask::~OptimizationTask() {
  cancelled_ = true;
  if (worker_.joinable()) worker_.join();
}

void OptimizationTask::start() {
  worker_ = std::thread([this] {
    RunControl control([this](int percent) { emit progressed(percent); }, &cancelled_);
    try {
      work_(control);
    } catch (const OptimizationCancelled&) {
      emit failed("Optimierung abgebrochen", true);
    } catch (const std::bad_alloc&) {
      emit failed("Zu wenig Arbeitsspeicher für diese Punktzahl.", false);
    }
  });
}

}  // namespace quorvanta
