#include "app/OptimizationTask.h"

#include <new>

#include <QMetaObject>

namespace quorvanta {

OptimizationTask::OptimizationTask(const FlightRecord& record, int budget, QObject* parent)
    : QObject(parent), record_(record), budget_(budget) {
  qRegisterMetaType<std::shared_ptr<const OptimizationRun>>();
}

OptimizationTask::~OptimizationTask() {
  cancelled_ = true;
  if (worker_.joinable()) worker_.join();
}

void OptimizationTask::start() {
  worker_ = std::thread([this] {
    RunControl control([this](int percent) { emit progressed(percent); }, &cancelled_);
    try {
      auto run = std::make_shared<const OptimizationRun>(optimizeFlight(record_, budget_, control));
      emit finished(std::move(run));
    } catch (const OptimizationCancelled&) {
      emit failed("Optimierung abgebrochen", true);
    } catch (const std::bad_alloc&) {
      emit failed("Zu wenig Arbeitsspeicher für diese Punktzahl.", false);
    }
  });
}

}  // namespace quorvanta
