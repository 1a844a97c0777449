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

// What happens at a moment: a notice posted (`+`), toggled (`~`), taken back
// (`-`), the notification area refusing (`refuse`) or taking balloons again
// (`accept`), or only time passing (""). Each step is followed by showing
// what is due, as the meter does after each notice and each tick; the log
// says what was shown when, and when a warning counted as said.
struct Step {
  uint64_t atMs;
  std::string what;
  K kind = K::kUpdate;
};

TEST(NoticeQueue, OneOfEachKindTheNewestAndWarningsFirst) {
  const struct {
    const char* name;
    std::vector<Step> steps;
    std::vector<std::string> log;
  } cases[] = {
      {"each notice has its seconds before the next",
       {{0, "+u"}, {0, "+t", K::kTariff}, {6999, ""}, {7000, ""}},
       {"u@0", "t@7000"}},
      {"a newer state takes the older one's place and turn",
       {{0, "+u"}, {1000, "+on1", K::kOnline}, {2000, "+t", K::kTariff}, {3000, "+on2", K::kOnline}, {7000, ""},
        {14000, ""}, {21000, ""}},
       {"u@0", "on2@7000", "t@14000"}},
      {"a state that passed unseen is dropped",
       {{0, "+u"}, {1000, "+on", K::kOnline}, {2000, "-", K::kOnline}, {7000, ""}},
       {"u@0"}},
      {"a change and its undoing, both unseen, say nothing",
       {{0, "+u"}, {1000, "~silent", K::kRouter}, {2000, "~back", K::kRouter}, {7000, ""},
        {8000, "~silent", K::kRouter}, {9000, "~back", K::kRouter}, {10000, "~silent", K::kRouter}, {15000, ""}},
       {"u@0", "silent@8000"}},
      {"a warning waits for the one on the screen only; what was asked for comes next",
       {{0, "+u"}, {1000, "+on", K::kOnline}, {2000, "+prices", K::kTariffInfo}, {3000, "+limit", K::kBudget},
        {7000, ""}, {14000, ""}, {21000, ""}},
       {"u@0", "limit@7000", "said limit", "prices@14000", "on@21000"}},
      {"a refused warning waits and counts as said once shown, one taken back never",
       {{0, "refuse"}, {0, "+limit", K::kBudget}, {1000, "accept"}, {2000, "+trend", K::kBudget},
        {3000, "-", K::kBudget}, {60000, ""}},
       {"limit@1000", "said limit"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> log;
    uint64_t now = 0;
    bool accept = true;
    NoticeQueue q([&](const Notice& n) {
      if (accept) log.push_back(n.text + "@" + std::to_string(now));
      return accept;
    });
    for (const Step& s : c.steps) {
      now = s.atMs;
      const std::string text = s.what.empty() ? "" : s.what.substr(1);
      if (s.what == "refuse" || s.what == "accept") accept = s.what == "accept";
      else if (s.what[0] == '+' && s.kind == K::kBudget)
        q.Post(s.kind, Text(text), [&log, text] { log.push_back("said " + text); });
      else if (s.what[0] == '+')
        q.Post(s.kind, Text(text));
      else if (s.what[0] == '~') q.Toggle(s.kind, Text(text));
      else if (s.what[0] == '-') q.Withdraw(s.kind);
      q.ShowDue(now);
    }
    EXPECT_EQ(log, c.log) << c.name;
    EXPECT_EQ(q.size(), 0u) << c.name;
  }
}

// Showing a balloon lets the shell's messages in (the taskbar back, a click
// on the icon, a menu command), and they post, take back and show notices
// themselves meanwhile: every notice is still shown once, and none lost.
TEST(NoticeQueue, MessagesHandledWhileABalloonGoesOutChangeNothingUnderIt) {
  std::vector<std::string> log;
  NoticeQueue* queue = nullptr;
  NoticeQueue q([&](const Notice& n) {
    log.push_back(n.text);
    if (n.text == "on1") {
      queue->ShowDue(0);
      queue->Post(K::kOnline, Text("on2"));  // the next state of the one going out
      queue->Post(K::kTariffInfo, Text("prices"));
      queue->ShowDue(0);
      queue->Withdraw(K::kUpdate);
    }
    return true;
  });
  queue = &q;
  q.Post(K::kOnline, Text("on1"));
  q.Post(K::kUpdate, Text("u"));
  for (uint64_t now = 0; now <= 21000; now += 7000) q.ShowDue(now);
  EXPECT_EQ(log, (std::vector<std::string>{"on1", "prices", "on2"}));
  EXPECT_EQ(q.size(), 0u);
}

}  // namespace
}  // namespace vtc
