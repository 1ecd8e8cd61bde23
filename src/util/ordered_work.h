// Jobs numbered 0..count-1 run on worker threads; the caller takes their results in
// number order, and workers run at most `ahead` jobs past the last one taken. Jobs may
// also be added one by one while the caller is busy elsewhere (see Add).
#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
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
      : OrderedWork(threads, ahead, ahead, 0, std::move(job)) {
    std::lock_guard<std::mutex> lock(mutex_);
    count_ = count;
    results_.resize(count);
    cost_.assign(count + 1, 0);
    closed_ = true;
    work_.notify_all();
  }
  // Jobs come by Add until Close. Workers run up to `ahead` jobs past the last taken, and
  // past the first `near` of those only while the costs of the jobs run and not yet taken
  // stay within budget (what their results may hold, e.g. bytes of text read).
  OrderedWork(int threads, std::size_t ahead, std::size_t near, std::int64_t budget, Job job)
      : ahead_(std::max<std::size_t>(ahead, 1)), near_(std::min(std::max<std::size_t>(near, 1), ahead_)),
        budget_(budget), job_(std::move(job)), cost_(1, 0) {
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
  // With hereUpTo > 0, the calling thread, rather than wait, runs the next job that no worker
  // has begun, when it costs at most hereUpTo: the workers need not outnumber the cores.
  std::optional<Result> Take(std::size_t i, const std::function<bool()>& idle,
                             std::int64_t hereUpTo = 0) {
    std::unique_lock<std::mutex> lock(mutex_);
    for (std::size_t j = taken_; j < i && j < count_; ++j) results_[j].reset();
    taken_ = std::max(taken_, i);
    work_.notify_all();
    while (!results_[i] && hereUpTo > 0 && !cancel_ && MayStart() &&
           cost_[next_ + 1] - cost_[next_] <= hereUpTo) {
      const std::size_t j = next_++;
      work_.notify_all();
      lock.unlock();
      Result r = job_(j, cancel_);
      const bool goOn = !idle || idle();  // a window is served between such jobs too
      lock.lock();
      if (j >= taken_) results_[j] = std::move(r);
      if (!goOn) {
        cancel_ = true;
        work_.notify_all();
      }
    }
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

  // Whether result i is there to be taken without waiting.
  bool Ready(std::size_t i) {
    std::lock_guard<std::mutex> lock(mutex_);
    return i < results_.size() && results_[i].has_value();
  }

  // Adds the next job, of the given cost; returns its number.
  std::size_t Add(std::int64_t cost) {
    std::lock_guard<std::mutex> lock(mutex_);
    results_.emplace_back();
    cost_.push_back(cost_.back() + std::max<std::int64_t>(cost, 0));
    work_.notify_all();
    return count_++;
  }
  // No job is added any more.
  void Close() {
    std::lock_guard<std::mutex> lock(mutex_);
    closed_ = true;
    work_.notify_all();
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
        work_.wait(lock, [this] { return cancel_ || (closed_ && next_ >= count_) || MayStart(); });
        if (cancel_ || next_ >= count_) return;
        i = next_++;
      }
      Result r = job_(i, cancel_);
      std::lock_guard<std::mutex> lock(mutex_);
      if (i >= taken_) results_[i] = std::move(r);
      done_.notify_all();
    }
  }

  // Whether job next_ may start now (mutex_ held).
  bool MayStart() const {
    if (next_ >= count_ || next_ >= taken_ + ahead_) return false;
    const std::size_t from = std::min(taken_, next_);
    return next_ < taken_ + near_ || cost_[next_ + 1] - cost_[from] <= budget_;
  }

  std::size_t count_ = 0;
  const std::size_t ahead_;
  const std::size_t near_;
  const std::int64_t budget_;
  bool closed_ = false;
  Job job_;
  std::mutex mutex_;
  std::condition_variable work_;
  std::condition_variable done_;
  std::vector<std::optional<Result>> results_;
  std::vector<std::int64_t> cost_;  // cost_[i]: the costs of jobs 0..i-1
  std::size_t next_ = 0;   // next job to start
  std::size_t taken_ = 0;  // results below this are gone
  std::atomic<bool> cancel_{false};
  std::vector<std::thread> threads_;
};

}  // namespace talq
