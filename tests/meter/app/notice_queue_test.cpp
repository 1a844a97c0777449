#include "meter/app/notice_queue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vtc {
namespace {

using K = NoticeKind;

Notice Text(const std::string& text) {
  Notice n;
  n.text = text;
  return n;
}

struct Step {
  uint64_t atMs;
  enum { kPost, kToggle, kWithdraw, kWait } what;
  K kind;
  const char* text;
};
Step Post(uint64_t at, K kind, const char* text) { return {at, Step::kPost, kind, text}; }
Step Toggle(uint64_t at, K kind, const char* text) { return {at, Step::kToggle, kind, text}; }
Step Withdraw(uint64_t at, K kind) { return {at, Step::kWithdraw, kind, ""}; }
Step Wait(uint64_t at) { return {at, Step::kWait, K::kUpdate, ""}; }

// Each step happens at its time and is followed by showing what is due, as
// the meter does after each notice and each tick; the log says what was
// shown and when.
TEST(NoticeQueue, OneOfEachKindTheNewestAndWarningsFirst) {
  const struct {
    const char* name;
    std::vector<Step> steps;
    std::vector<std::string> shown;
  } cases[] = {
      {"each notice has its seconds before the next",
       {Post(0, K::kUpdate, "u"), Post(0, K::kTariff, "t"), Wait(6999), Wait(7000)},
       {"u@0", "t@7000"}},
      {"a newer state takes the older one's place and turn",
       {Post(0, K::kUpdate, "u"), Post(1000, K::kOnline, "on1"), Post(2000, K::kTariff, "t"),
        Post(3000, K::kOnline, "on2"), Wait(7000), Wait(14000), Wait(21000)},
       {"u@0", "on2@7000", "t@14000"}},
      {"a state that passed unseen is dropped",
       {Post(0, K::kUpdate, "u"), Post(1000, K::kOnline, "on"), Withdraw(2000, K::kOnline), Wait(7000)},
       {"u@0"}},
      {"a change and its undoing, both unseen, say nothing",
       {Post(0, K::kUpdate, "u"), Toggle(1000, K::kRouter, "silent"), Toggle(2000, K::kRouter, "back"), Wait(7000),
        Toggle(8000, K::kRouter, "silent"), Toggle(9000, K::kRouter, "back"), Toggle(10000, K::kRouter, "silent"),
        Wait(14000)},
       {"u@0", "silent@8000"}},
      {"a warning waits for the one on the screen only",
       {Post(0, K::kUpdate, "u"), Post(1000, K::kOnline, "on"), Post(2000, K::kTariff, "t"),
        Post(3000, K::kBudget, "limit"), Wait(7000), Wait(14000), Wait(21000)},
       {"u@0", "limit@7000", "on@14000", "t@21000"}},
      {"what the user asked for goes before other information",
       {Post(0, K::kUpdate, "u"), Post(1000, K::kOnline, "on"), Post(2000, K::kTariffInfo, "prices"),
        Post(3000, K::kBudget, "limit"), Wait(7000), Wait(14000), Wait(21000)},
       {"u@0", "limit@7000", "prices@14000", "on@21000"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> log;
    uint64_t now = 0;
    NoticeQueue q([&](const Notice& n) {
      log.push_back(n.text + "@" + std::to_string(now));
      return true;
    });
    for (const Step& s : c.steps) {
      now = s.atMs;
      if (s.what == Step::kPost) q.Post(s.kind, Text(s.text));
      if (s.what == Step::kToggle) q.Toggle(s.kind, Text(s.text));
      if (s.what == Step::kWithdraw) q.Withdraw(s.kind);
      q.ShowDue(now);
    }
    EXPECT_EQ(log, c.shown) << c.name;
    EXPECT_EQ(q.size(), 0u) << c.name;
  }
}

// A notice the notification area refused waits, and what it says counts as
// said only once it was shown; one taken back first never counts.
TEST(NoticeQueue, RefusedNoticesWaitAndCountOnlyOnceShown) {
  bool accept = false;
  int shows = 0;
  NoticeQueue q([&](const Notice&) { return accept && ++shows; });
  int said = 0;
  q.Post(K::kBudget, Text("limit"), [&] { ++said; });
  q.ShowDue(0);
  q.ShowDue(1000);
  EXPECT_EQ(said, 0);
  EXPECT_TRUE(q.Waiting(K::kBudget));
  accept = true;
  q.ShowDue(2000);
  EXPECT_EQ(said, 1);
  q.Post(K::kBudget, Text("trend"), [&] { ++said; });
  EXPECT_TRUE(q.Withdraw(K::kBudget));
  EXPECT_FALSE(q.Withdraw(K::kBudget));
  q.ShowDue(60000);
  EXPECT_EQ(said, 1);
  EXPECT_EQ(shows, 1);
}

// Showing a balloon lets the shell's messages in (the taskbar back, a click
// on the icon, a menu command), and they post, take back and show notices
// themselves meanwhile: every notice is still shown once, and none lost.
TEST(NoticeQueue, MessagesHandledWhileABalloonGoesOutChangeNothingUnderIt) {
  std::vector<std::string> log;
  NoticeQueue* queue = nullptr;
  uint64_t now = 0;
  NoticeQueue q([&](const Notice& n) {
    log.push_back(n.text);
    if (n.text == "on1") {
      queue->ShowDue(now);
      queue->Post(K::kOnline, Text("on2"));  // the next state of the one going out
      queue->Post(K::kTariffInfo, Text("prices"));
      queue->ShowDue(now);
      queue->Withdraw(K::kUpdate);
    }
    return true;
  });
  queue = &q;
  q.Post(K::kOnline, Text("on1"));
  q.Post(K::kUpdate, Text("u"));
  q.ShowDue(now);
  for (now = 7000; now <= 21000; now += 7000) q.ShowDue(now);
  EXPECT_EQ(log, (std::vector<std::string>{"on1", "prices", "on2"}));
  EXPECT_EQ(q.size(), 0u);
}

}  // namespace
}  // namespace vtc
