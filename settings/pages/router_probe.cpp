#include "settings/pages/router_probe.h"

#include <thread>

#include "router/win/reader.h"
#include "settings/pages/router_text.h"

namespace vtc {
namespace {

constexpr wchar_t kClassName[] = L"VtcRouterProbe";
constexpr UINT kAnswerMessage = WM_APP + 1;
constexpr UINT_PTR kTickTimer = 1;
constexpr UINT kTickMs = 1000;
// A click may wait longer than a tick: the table of a slow router is read
// whole, and an agent silent to v2c is asked again in v1.
constexpr int kQuestionMs = 2000;

RouterAnswer Check(const RouterOptions& router) {
  RouterAnswer a;
  RouterCheck c;
  c.upnp = router.source == kSourceRouterUpnp;
  c.wan = router.wanInterface;
  if (!c.upnp && c.wan.empty()) {
    // Nothing to read yet: whether the router answers at all.
    RouterSurvey s = SurveyRouter(router, false, kQuestionMs);
    a.address = s.address;
    a.rows = std::move(s.rows);
    c.silence = s.silence;
  } else {
    RouterReader reader(router);
    c.reading = reader.Read(kQuestionMs);
    // An agent that speaks only v1 is silent to the first question.
    if (!c.reading && reader.silence() == RouterSilence::kNoAnswer && !c.upnp) c.reading = reader.Read(kQuestionMs);
    c.silence = reader.silence();
    a.address = reader.address();
    c.name = reader.Name();
  }
  c.address = a.address;
  a.text = CheckText(c);
  return a;
}

}  // namespace

RouterAnswer AskRouter(RouterAsk ask, const RouterOptions& router) {
  RouterAnswer a;
  if (ask == RouterAsk::kCheck) {
    a = Check(router);
  } else {
    RouterSurvey s = SurveyRouter(router, ask == RouterAsk::kFind, kQuestionMs);
    a.address = s.address;
    a.rows = std::move(s.rows);
    if (ask == RouterAsk::kFind) a.text = FoundText(router.source == kSourceRouterUpnp, s.silence, s.address, s.name);
  }
  a.ask = ask;
  return a;
}

bool RouterProbe::Create(std::function<void(const RouterAnswer&)> onAnswer, std::function<void()> onTick) {
  onAnswer_ = std::move(onAnswer);
  onTick_ = std::move(onTick);
  if (!CreateWin(kClassName, L"", 0, 0, 0, 0, 0, 0, HWND_MESSAGE)) return false;
  std::lock_guard<std::mutex> lock(mail_->m);
  mail_->notify = hwnd_;
  return true;
}

unsigned RouterProbe::Ask(RouterAsk ask, const RouterOptions& router) {
  const unsigned ticket = next_++;
  std::shared_ptr<Mailbox> mail = mail_;
  std::thread([mail, ask, router, ticket] {
    RouterAnswer a = AskRouter(ask, router);
    a.ticket = ticket;
    std::lock_guard<std::mutex> lock(mail->m);
    if (!mail->notify) return;  // the window is gone: nobody to tell
    mail->done.push_back(std::move(a));
    PostMessageW(mail->notify, kAnswerMessage, 0, 0);
  }).detach();
  return ticket;
}

void RouterProbe::StartTicks() {
  ticking_ = hwnd_ && SetTimer(hwnd_, kTickTimer, kTickMs, nullptr);
}

void RouterProbe::StopTicks() {
  if (hwnd_) KillTimer(hwnd_, kTickTimer);
  ticking_ = false;
}

LRESULT RouterProbe::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_TIMER:
      if (wp == kTickTimer && onTick_) onTick_();
      return 0;
    case kAnswerMessage: {
      std::vector<RouterAnswer> done;
      {
        std::lock_guard<std::mutex> lock(mail_->m);
        done.swap(mail_->done);
      }
      for (const RouterAnswer& a : done) {
        if (a.ticket >= floor_ && onAnswer_) onAnswer_(a);
      }
      return 0;
    }
    case WM_DESTROY: {
      KillTimer(hwnd_, kTickTimer);
      std::lock_guard<std::mutex> lock(mail_->m);
      mail_->notify = nullptr;
      return 0;
    }
    default:
      return DefWindowProcW(hwnd_, msg, wp, lp);
  }
}

}  // namespace vtc
