#pragma once
// Ends the test program, naming what hangs, when a step armed with a limit
// runs past it: a wait that never ends cannot be ended from its own thread.
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

namespace testsupport {

class Watchdog {
 public:
  explicit Watchdog(int seconds) : limit_(seconds), thread_([this] { Run(); }) {}
  // Armed at once, for a step that lasts as long as the watchdog does.
  Watchdog(int seconds, const std::string& what) : Watchdog(seconds) { Arm(what); }
  ~Watchdog() {
    {
      std::lock_guard<std::mutex> lock(m_);
      stop_ = true;
    }
    cv_.notify_all();
    thread_.join();
  }
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

  // The step named starts now and must finish within the limit.
  void Arm(const std::string& what) {
    std::lock_guard<std::mutex> lock(m_);
    what_ = what;
    deadline_ = std::chrono::steady_clock::now() + std::chrono::seconds(limit_);
    armed_ = true;
    cv_.notify_all();
  }
  void Disarm() {
    std::lock_guard<std::mutex> lock(m_);
    armed_ = false;
  }

 private:
  void Run() {
    std::unique_lock<std::mutex> lock(m_);
    while (!stop_) {
      if (!armed_) {
        cv_.wait(lock);
        continue;
      }
      const auto deadline = deadline_;
      if (cv_.wait_until(lock, deadline) == std::cv_status::timeout && armed_ && deadline_ == deadline) {
        std::fprintf(stderr, "HANG: %s did not finish within %d s\n", what_.c_str(), limit_);
        std::fflush(stderr);
        std::abort();
      }
    }
  }

  int limit_;
  std::mutex m_;
  std::condition_variable cv_;
  std::string what_;
  std::chrono::steady_clock::time_point deadline_;
  bool armed_ = false;
  bool stop_ = false;
  std::thread thread_;  // last: it starts when the state above is ready
};

}  // namespace testsupport
