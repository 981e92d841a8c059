#include "platform/qt/event_pump.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QScopeGuard>

namespace tav::qt {

EventPump::EventPump(const FormSpec& form, EventProcedures procedures,
                     std::function<void(int)> end)
    : events_(form, std::move(procedures)), end_(std::move(end)) {}

void EventPump::queue(Control control, int event) noexcept {
  try {
    events_.queue(control, event);
  } catch (...) {
    if (!deferred_) deferred_ = std::current_exception();
  }
}

void EventPump::rethrow_deferred() {
  if (deferred_) std::rethrow_exception(std::exchange(deferred_, nullptr));
}

void EventPump::end_if_closed() {
  if (closed_) end_(0);
}

void EventPump::wait_for_event() {
  end_if_closed();
  waiting_ = true;
  const auto waited = qScopeGuard([this] { waiting_ = false; });
  // Events queued while the main flow was busy come first, one per wait.
  if (events_.run_oldest()) return;
  for (;;) {
    // Blocks without spinning until at least one event has been handled.
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    rethrow_deferred();
    end_if_closed();
    if (events_.run_oldest()) return;
  }
}

void EventPump::process_pending_events() {
  if (!events_.drain_due()) return;
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  rethrow_deferred();
  end_if_closed();
}

}  // namespace tav::qt
