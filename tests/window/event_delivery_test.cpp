#include "window/event_delivery.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "support/program_end.h"
#include "support/recorded_procedures.h"

namespace tav {
namespace {

// A delivery whose source has nothing queued and whose end throws.
struct Delivered final : EventSource, EventDelivery {
  explicit Delivered(EventProcedures procedures)
      : EventDelivery(main_form(), static_cast<EventSource&>(*this)) {
    bind(std::move(procedures));
  }
  void pump(bool) override {}
  [[noreturn]] void end_process(int exit_code) override { throw test::ProgramEnded{exit_code}; }
};

using Recorder = test::RecordedProcedures;

TEST(EventDelivery, OnlyEventsWithAProcedureAreQueuedAndRunOldestFirst) {
  Recorder recorder;
  Delivered delivery(recorder.procedures({"BUTTON1_ON", "list2_dblclick"}));
  EXPECT_FALSE(delivery.queue(Control::Check1, event::kOn));        // no CHECK1_ON
  EXPECT_FALSE(delivery.queue(Control::List2, event::kChange));     // no LIST2_CHANGE
  EXPECT_FALSE(delivery.queue(Control::List2, event::kClick));
  EXPECT_TRUE(delivery.queue(Control::List2, event::kDoubleClick));  // found ignoring case
  EXPECT_TRUE(delivery.queue(Control::Button1, event::kOn));
  EXPECT_EQ(delivery.pending(), 2u);

  EXPECT_TRUE(delivery.run_oldest());
  EXPECT_TRUE(delivery.run_oldest());
  EXPECT_FALSE(delivery.run_oldest());
  EXPECT_EQ(recorder.runs, (std::vector<std::string>{"list2_dblclick", "BUTTON1_ON"}));
}

TEST(EventDelivery, TheQueueHoldsSixtyFourEventsAndDropsMore) {
  Recorder recorder;
  Delivered delivery(recorder.procedures({"BUTTON1_ON", "BUTTON4_ON"}));
  for (int i = 0; i < 64; ++i) EXPECT_TRUE(delivery.queue(Control::Button1, event::kOn));
  EXPECT_FALSE(delivery.queue(Control::Button4, event::kOn));
  ASSERT_TRUE(delivery.run_oldest());
  EXPECT_TRUE(delivery.queue(Control::Button4, event::kOn));  // room again
  while (delivery.run_oldest()) {
  }
  ASSERT_EQ(recorder.runs.size(), 65u);
  EXPECT_EQ(recorder.runs.back(), "BUTTON4_ON");
}

TEST(EventDelivery, NoProcedureStartsWhileOneRuns) {
  EventDelivery* self = nullptr;
  int nested_runs = 0;
  bool inner_started = true;
  EventProcedures procedures{
      {"BUTTON1_ON",
       [&](Control) {
         EXPECT_TRUE(self->handler_running());
         self->queue(Control::Button2, event::kOn);
         inner_started = self->run_oldest();
       }},
      {"BUTTON2_ON", [&](Control) { ++nested_runs; }},
  };
  Delivered delivery(std::move(procedures));
  self = &delivery;
  delivery.queue(Control::Button1, event::kOn);
  EXPECT_TRUE(delivery.run_oldest());
  EXPECT_FALSE(inner_started);
  EXPECT_FALSE(delivery.handler_running());
  EXPECT_EQ(nested_runs, 0);
  EXPECT_TRUE(delivery.run_oldest());  // its turn comes at the next wait
  EXPECT_EQ(nested_runs, 1);
}

TEST(EventDelivery, AProcedureThatThrowsLeavesTheFlagCleared) {
  Delivered delivery({{"BUTTON3_ON", [](Control) { throw std::runtime_error("x"); }}});
  delivery.queue(Control::Button3, event::kOn);
  EXPECT_THROW(delivery.run_oldest(), std::runtime_error);
  EXPECT_FALSE(delivery.handler_running());
}

TEST(EventDelivery, TheCloseQueryRunsAtOnceOnlyWhenTheFormHasOne) {
  int closes = 0;
  Delivered without({});
  EXPECT_FALSE(without.run_now(Control::MainForm, event::kQueryClose));
  Delivered with({{"MAINFORM_QUERYCLOSE", [&](Control) { ++closes; }}});
  EXPECT_TRUE(with.run_now(Control::MainForm, event::kQueryClose));
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(with.pending(), 0u);
}

TEST(EventDelivery, MessagesAreDrainedOnTheFirstCallThenOncePerInterval) {
  using namespace std::chrono_literals;
  std::chrono::steady_clock::time_point now{};
  struct NoSource final : EventSource {
    void pump(bool) override {}
    [[noreturn]] void end_process(int) override { throw test::ProgramEnded{0}; }
  } source;
  EventDelivery delivery(main_form(), source, Draining::Timed, [&now] { return now; });
  std::vector<int> draining_ms;
  for (int ms = 0; ms <= 40; ++ms, now += 1ms) {
    if (delivery.drain_due()) draining_ms.push_back(ms);
  }
  EXPECT_EQ(draining_ms, (std::vector<int>{0, 15, 30}));
}

}  // namespace
}  // namespace tav
