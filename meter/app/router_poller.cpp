#include "meter/app/router_poller.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "router/win/reader.h"

namespace vtc {

struct RouterPoller::Shared {
  std::mutex m;
  std::condition_variable wake;
  bool stop = false;
  bool askAgain = false;
  bool ended = false;
  std::optional<RouterReading> answer;
  std::string name;
};

RouterPoller::~RouterPoller() {
  if (!shared_) return;
  std::unique_lock<std::mutex> lock(shared_->m);
  shared_->stop = true;
  shared_->wake.notify_all();
  const bool ended = shared_->wake.wait_for(lock, std::chrono::milliseconds(kCloseWaitMs),
                                            [this] { return shared_->ended; });
  lock.unlock();
  if (ended) {
    thread_.join();
  } else {
    thread_.detach();
  }
}

void RouterPoller::Start(const RouterOptions& options) {
  shared_ = std::make_shared<Shared>();
  shared_->name = RouterReader(options).Name();
  thread_ = std::thread(Run, shared_, options);
}

std::optional<RouterReading> RouterPoller::TakeAnswer() {
  if (!shared_) return std::nullopt;
  std::lock_guard<std::mutex> lock(shared_->m);
  std::optional<RouterReading> a = std::move(shared_->answer);
  shared_->answer.reset();
  shared_->askAgain = true;
  shared_->wake.notify_all();
  return a;
}

std::string RouterPoller::RouterName() {
  if (!shared_) return {};
  std::lock_guard<std::mutex> lock(shared_->m);
  return shared_->name;
}

void RouterPoller::Run(std::shared_ptr<Shared> shared, RouterOptions options) {
  RouterReader reader(options);
  for (;;) {
    std::optional<RouterReading> a = reader.Read(kQuestionMs);
    std::unique_lock<std::mutex> lock(shared->m);
    if (a) shared->answer = std::move(a);
    shared->name = reader.Name();
    // Until the tick has taken this answer.
    shared->wake.wait(lock, [&] { return shared->stop || shared->askAgain; });
    shared->askAgain = false;
    if (shared->stop) break;
  }
  std::lock_guard<std::mutex> lock(shared->m);
  shared->ended = true;
  shared->wake.notify_all();
}

}  // namespace vtc
