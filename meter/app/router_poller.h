// The router's WAN counters read once a tick on a thread of their own, so
// that a router that answers late or never holds neither the ticks nor the
// menu. The tick takes the newest answer and so asks the next question: the
// answers come a tick apart. On a clock of its own the thread drifted against
// the ticks, and every so often a tick found no answer (a second of 0 b/s in
// the middle of a download) and the next one two seconds' bytes.
#pragma once
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "meter/app/meter.h"
#include "router/router_options.h"

namespace vtc {

class RouterPoller : public RouterCounters {
 public:
  // Each question's answers are in within this, under the tick's second.
  static constexpr int kQuestionMs = 800;
  // Closing the meter waits no longer than this for a question on its way.
  static constexpr int kCloseWaitMs = 1000;

  RouterPoller() = default;
  RouterPoller(const RouterPoller&) = delete;
  RouterPoller& operator=(const RouterPoller&) = delete;
  // Stops the thread. A question still on its way after kCloseWaitMs (a
  // UPnP search takes longer) is left to end with the process.
  ~RouterPoller() override;

  void Start(const RouterOptions& options);

  std::optional<RouterReading> TakeAnswer() override;
  std::string RouterName() override;

 private:
  // What the thread and the tick share; the thread holds it too, so that
  // one left running at the close finds it still there.
  struct Shared;
  static void Run(std::shared_ptr<Shared> shared, RouterOptions options);

  std::shared_ptr<Shared> shared_;
  std::thread thread_;
};

}  // namespace vtc
