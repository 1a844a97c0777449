#include "meter/app/notice_queue.h"

#include <algorithm>

namespace vtc {
namespace {

// A warning is about money going now; what the user asked for answers a
// click. Everything else is information and takes its turn.
int Rank(NoticeKind kind) {
  switch (kind) {
    case NoticeKind::kBudget: return 0;
    case NoticeKind::kTariffInfo: return 1;
    default: return 2;
  }
}

}  // namespace

std::deque<NoticeQueue::Entry>::iterator NoticeQueue::Find(NoticeKind kind) {
  return std::find_if(waiting_.begin(), waiting_.end(), [kind](const Entry& e) { return e.kind == kind; });
}

void NoticeQueue::Post(NoticeKind kind, const Notice& n, std::function<void()> shown) {
  Entry e{kind, n, std::move(shown), nextId_++};
  // The newer state of the same thing keeps the older one's turn.
  auto same = Find(kind);
  if (same != waiting_.end()) {
    *same = std::move(e);
    return;
  }
  auto after = std::find_if(waiting_.begin(), waiting_.end(),
                            [kind](const Entry& w) { return Rank(w.kind) > Rank(kind); });
  waiting_.insert(after, std::move(e));
}

void NoticeQueue::Toggle(NoticeKind kind, const Notice& n) {
  if (!Withdraw(kind)) Post(kind, n);
}

bool NoticeQueue::Withdraw(NoticeKind kind) {
  auto it = Find(kind);
  if (it == waiting_.end()) return false;
  waiting_.erase(it);
  return true;
}

bool NoticeQueue::Waiting(NoticeKind kind) const {
  return std::any_of(waiting_.begin(), waiting_.end(), [kind](const Entry& e) { return e.kind == kind; });
}

void NoticeQueue::ShowDue(uint64_t nowMs) {
  if (showing_) return;
  showing_ = true;
  while (!waiting_.empty() && !(shownMs_ && nowMs - *shownMs_ < shownSeconds_ * 1000ull)) {
    // A copy, since the queue may change while the balloon goes out.
    const Entry front = waiting_.front();
    if (!show_(front.notice)) break;
    shownMs_ = nowMs;
    shownSeconds_ = front.notice.seconds;
    // Found again by its number: meanwhile it may have been replaced by a
    // newer state, which then still waits, or taken back.
    auto it = std::find_if(waiting_.begin(), waiting_.end(), [&](const Entry& e) { return e.id == front.id; });
    if (it == waiting_.end()) continue;
    waiting_.erase(it);
    if (front.shown) front.shown();
  }
  showing_ = false;
}

}  // namespace vtc
