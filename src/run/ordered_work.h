// Jobs numbered 0..count-1 run on worker threads; the caller takes their results in
// number order, and workers run at most `ahead` jobs past the last one taken.
#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "util/vector_state.h"

namespace talq {

template <typename Result>
class OrderedWork {
 public:
  // job(i, cancel) computes result i; it should return early once cancel is set.
  using Job = std::function<Result(std::size_t, const std::atomic<bool>&)>;

  OrderedWork(int threads, std::size_t count, std::size_t ahead, Job job)
      : count_(count), ahead_(std::max<std::size_t>(ahead, 1)), job_(std::move(job)),
        results_(count) {
    for (int t = 0; t < std::max(threads, 1); ++t)
      threads_.emplace_back([this] {
        ClearUpperVectorState();  // a thread inherits its creator's vector state
        Work();
      });
  }
  OrderedWork(const OrderedWork&) = delete;
  OrderedWork& operator=(const OrderedWork&) = delete;
  ~OrderedWork() {
    Cancel();
    for (std::thread& t : threads_) t.join();
  }

  // Waits for result i, calling idle() every few milliseconds meanwhile. When idle()
  // returns false every job is told to end, and the result of job i is still awaited
  // (a job cut short returns what it has); nullopt when job i never started. Results
  // before i are dropped. Take each i at most once, in ascending order.
  std::optional<Result> Take(std::size_t i, const std::function<bool()>& idle) {
    std::unique_lock<std::mutex> lock(mutex_);
    for (std::size_t j = taken_; j < i && j < count_; ++j) results_[j].reset();
    taken_ = std::max(taken_, i);
    work_.notify_all();
    while (!results_[i]) {
      if (cancel_ && i >= next_) return std::nullopt;
      if (done_.wait_for(lock, std::chrono::milliseconds(5)) == std::cv_status::timeout &&
          !results_[i] && !cancel_) {
        lock.unlock();
        const bool goOn = !idle || idle();
        lock.lock();
        if (!goOn) {
          cancel_ = true;
          work_.notify_all();
        }
      }
    }
    std::optional<Result> r = std::move(results_[i]);
    results_[i].reset();
    taken_ = i + 1;
    work_.notify_all();
    return r;
  }

  // Stops handing out jobs and tells running ones to end.
  void Cancel() {
    std::lock_guard<std::mutex> lock(mutex_);
    cancel_ = true;
    work_.notify_all();
  }

 private:
  void Work() {
    for (;;) {
      std::size_t i;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        work_.wait(lock, [this] { return cancel_ || next_ >= count_ || next_ < taken_ + ahead_; });
        if (cancel_ || next_ >= count_) return;
        i = next_++;
      }
      Result r = job_(i, cancel_);
      std::lock_guard<std::mutex> lock(mutex_);
      if (i >= taken_) results_[i] = std::move(r);
      done_.notify_all();
    }
  }

  const std::size_t count_;
  const std::size_t ahead_;
  Job job_;
  std::mutex mutex_;
  std::condition_variable work_;
  std::condition_variable done_;
  std::vector<std::optional<Result>> results_;
  std::size_t next_ = 0;   // next job to start
  std::size_t taken_ = 0;  // results below this are gone
  std::atomic<bool> cancel_{false};
  std::vector<std::thread> threads_;
};

}  // namespace talq
