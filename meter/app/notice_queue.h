// The meter's notices on their way to the tray. A balloon takes the place of
// the one on the screen, so each waits until the one before has had its
// seconds. A link that drops every few seconds, or a router that keeps
// falling silent, raises notices faster than that: the queue therefore holds
// one notice of each kind at most, the newest, takes back unseen one whose
// moment has passed, and lets a warning of the budget pass everything that
// is only information. No window here: the caller brings the time and the
// way to show a balloon.
#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>

#include "common/notice.h"

namespace vtc {

// What a notice is about.
enum class NoticeKind : uint8_t {
  kBudget,      // the budget guard's warnings: go before all the others
  kTariffInfo,  // the prices the user asked for from the menu: before the rest
  kOnline,      // the line came up
  kRouter,      // the router fell silent, or answers again
  kRouterCounters,  // the router's counters stopped at the 32-bit end, or stay 0
  kTariff,      // another tariff is in force, or none is
  kUpdate,      // a newer version is out
};

class NoticeQueue {
 public:
  // Shows a balloon; false when the notification area refused it (none yet
  // at logon, or Explorer restarting), and the notice then waits on.
  using Show = std::function<bool(const Notice&)>;
  explicit NoticeQueue(Show show) : show_(std::move(show)) {}
  NoticeQueue(const NoticeQueue&) = delete;
  NoticeQueue& operator=(const NoticeQueue&) = delete;

  // Queues `n`, in the place of a notice of its kind still waiting, or else
  // behind those that go before it or came earlier.
  // `shown` runs once `n` has been shown, never when it is replaced or
  // taken back first.
  void Post(NoticeKind kind, const Notice& n, std::function<void()> shown = nullptr);
  // For a state that goes back and forth (the router's silence): a change
  // still waiting and this one undo each other, so that neither is shown
  // and what the user saw last holds again; otherwise `n` is queued.
  void Toggle(NoticeKind kind, const Notice& n);
  // Takes back the notice of this kind still waiting; false when none was.
  bool Withdraw(NoticeKind kind);
  bool Waiting(NoticeKind kind) const;
  size_t size() const { return waiting_.size(); }

  // Shows what is due at `nowMs` (a monotonic clock). Showing goes through
  // the notification area, whose messages may bring a call here again (the
  // taskbar back, a click on the icon): such a call leaves the work to the
  // one in progress.
  void ShowDue(uint64_t nowMs);

 private:
  struct Entry {
    NoticeKind kind;
    Notice notice;
    std::function<void()> shown;
    uint64_t id;  // tells the entry apart from its replacement
  };

  std::deque<Entry>::iterator Find(NoticeKind kind);

  Show show_;
  std::deque<Entry> waiting_;
  uint64_t nextId_ = 0;
  std::optional<uint64_t> shownMs_;  // when the last notice was shown
  uint8_t shownSeconds_ = 0;         // and how long it stays
  bool showing_ = false;
};

}  // namespace vtc
