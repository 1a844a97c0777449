// The router's WAN counters read once a tick on a thread of their own, so
// that a router that answers late or never holds neither the ticks nor the
// menu. The tick takes the newest answer and so asks the next question: the
// answers come a tick apart. On a clock of its own the thread drifted against
// the ticks, and every so often a tick found no answer (a second of 0 b/s in
// the middle of a download) and the next one two seconds' bytes.
#pragma once
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "router/router_options.h"
#include "meter/app/meter.h"

namespace vtc {

class RouterPoller : public RouterCounters {
 public:
  RouterPoller() = default;
  RouterPoller(const RouterPoller&) = delete;
  RouterPoller& operator=(const RouterPoller&) = delete;
  // Stops the thread; a question on the way ends within its time limit.
  ~RouterPoller() override;

  void Start(const RouterOptions& options);

  std::optional<RouterReading> TakeAnswer() override;
  std::string RouterName() override;

 private:
  struct Found;
  void Run(RouterOptions options);
  std::optional<RouterReading> AskSnmp(const RouterOptions& o, Found& found);
  std::optional<RouterReading> AskUpnp(const RouterOptions& o, Found& found);
  void SetName(const std::string& name);
  // Waits until the tick has taken the last answer; false when stopped.
  bool Pause();

  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
  bool askAgain_ = false;
  std::optional<RouterReading> answer_;
  std::string name_;
};

}  // namespace vtc
