#include "pack/copy_runner.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

namespace mdlFile {

CopyRunner::CopyRunner(platform::PackFiles& files, std::vector<Copy> copies,
                       const std::vector<std::string>& keys, unsigned threads)
    : files_(files), copies_(std::move(copies)), after_(copies_.size(), -1), outcomes_(copies_.size()) {
  std::unordered_map<std::string, std::ptrdiff_t> last;
  for (std::size_t k = 0; k < copies_.size() && k < keys.size(); ++k) {
    if (!copies_[k].run) continue;
    const auto [earlier, first] = last.try_emplace(keys[k], static_cast<std::ptrdiff_t>(k));
    if (!first) after_[k] = std::exchange(earlier->second, static_cast<std::ptrdiff_t>(k));
  }
  for (unsigned t = 0; t < threads; ++t) threads_.emplace_back([this] { Work(); });
}

CopyRunner::~CopyRunner() {
  {
    const std::lock_guard<std::mutex> hold(lock_);
    stopping_ = true;
  }
  ended_.notify_all();
  for (auto& thread : threads_) thread.join();
}

void CopyRunner::Make(std::size_t index) {
  Outcome outcome;
  try {
    outcome.copied = files_.CopyReplacing(copies_[index].from, copies_[index].to);
  } catch (...) {
    outcome.error = std::current_exception();
  }
  outcome.done = true;
  {
    const std::lock_guard<std::mutex> hold(lock_);
    outcomes_[index] = std::move(outcome);
  }
  ended_.notify_all();
}

void CopyRunner::Work() {
  for (;;) {
    std::size_t index = 0;
    {
      std::unique_lock<std::mutex> hold(lock_);
      while (next_ < copies_.size() && !copies_[next_].run) ++next_;
      if (stopping_ || next_ >= copies_.size()) return;
      index = next_++;
      // The copy it must follow was taken before it, by this thread or another, and will end.
      if (after_[index] >= 0) {
        const auto earlier = static_cast<std::size_t>(after_[index]);
        ended_.wait(hold, [&] { return outcomes_[earlier].done || stopping_; });
        if (!outcomes_[earlier].done) return;
      }
    }
    Make(index);
  }
}

platform::FileIdentity CopyRunner::Result(std::size_t index) {
  if (threads_.empty()) {
    Make(index);  // in the pack's own order, one at a time
  } else {
    std::unique_lock<std::mutex> hold(lock_);
    ended_.wait(hold, [&] { return outcomes_[index].done; });
  }
  const Outcome& outcome = outcomes_[index];
  if (outcome.error) std::rethrow_exception(outcome.error);
  return outcome.copied;
}

unsigned CopyThreads(unsigned wanted, const platform::PackFiles& files, std::size_t copies) {
  constexpr std::size_t kCopiesPerThread = 16;  // fewer copies are not worth a thread
  if (wanted == 0 || !files.CopiesSideBySide() || copies < 2 * kCopiesPerThread) return 0;
  return static_cast<unsigned>(std::min<std::size_t>(wanted, copies / kCopiesPerThread));
}

}  // namespace mdlFile
