// Questions to the router for the page "Роутер", asked off the window's
// thread: a UPnP search takes up to two seconds and a silent SNMP agent most
// of one, and the window must go on answering meanwhile. Each question runs
// on a thread of its own and its answer is handed back on the window's
// thread through a message.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "common/win/window.h"
#include "router/router_options.h"
#include "router/snmp_walk.h"

namespace vtc {

enum class RouterAsk { kFind, kRows, kCheck };

struct RouterAnswer {
  RouterAsk ask = RouterAsk::kFind;
  unsigned ticket = 0;
  std::string address;  // where the question went; empty when nowhere was found
  std::optional<std::vector<snmp::InterfaceRow>> rows;  // SNMP rows and checks
  std::string text;  // what the page says about it
};

// Blocks for as long as the router takes (a few seconds at most).
RouterAnswer AskRouter(RouterAsk ask, const RouterOptions& router);

class RouterProbe : public BaseWindow {
 public:
  // The base destroys the window without this class's handler: a thread
  // that finishes later must find nobody to tell all the same.
  ~RouterProbe() override {
    std::lock_guard<std::mutex> lock(mail_->m);
    mail_->notify = nullptr;
  }
  // A message-only window; `onAnswer` gets every answer, `onTick` every
  // second while ticking.
  bool Create(std::function<void(const RouterAnswer&)> onAnswer, std::function<void()> onTick);
  // Starts the question; its answer carries the returned ticket.
  unsigned Ask(RouterAsk ask, const RouterOptions& router);
  void StartTicks();
  void StopTicks();
  bool ticking() const { return ticking_; }
  // Answers to questions asked before this are dropped when they come.
  void Forget() { floor_ = next_; }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  // Shared with the threads, which may outlive the window.
  struct Mailbox {
    std::mutex m;
    std::vector<RouterAnswer> done;
    HWND notify = nullptr;  // guarded by m; cleared when the window goes
  };
  std::shared_ptr<Mailbox> mail_ = std::make_shared<Mailbox>();
  std::function<void(const RouterAnswer&)> onAnswer_;
  std::function<void()> onTick_;
  unsigned next_ = 1, floor_ = 1;
  bool ticking_ = false;
};

}  // namespace vtc
