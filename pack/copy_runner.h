// The copies of a pack, planned in the order the pack makes them and run ahead of it on a few threads,
// while the pack takes each result in that order: what it reports, and when, stays what it was.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/pack_files.h"

namespace mdlFile {

class CopyRunner {
 public:
  struct Copy {
    std::string from;
    std::string to;
    bool run = true;  // false: the pack refuses it by itself and never asks for its result
  };

  // Starts copying on `threads` threads (none: each copy is made when its result is asked for). A copy
  // onto a name that an earlier copy writes (without regard to case, as key gives it) starts only
  // after that one has ended, so the later one still replaces it.
  CopyRunner(platform::PackFiles& files, std::vector<Copy> copies, const std::vector<std::string>& keys,
             unsigned threads);
  // Lets the copies under way end and starts no more.
  ~CopyRunner();
  CopyRunner(const CopyRunner&) = delete;
  CopyRunner& operator=(const CopyRunner&) = delete;

  // Waits for the copy planned at index to end and returns the identity CopyReplacing returned, or
  // throws what it threw.
  platform::FileIdentity Result(std::size_t index);

 private:
  struct Outcome {
    bool done = false;
    platform::FileIdentity copied;
    std::exception_ptr error;
  };
  void Work();
  void Make(std::size_t index);

  platform::PackFiles& files_;
  std::vector<Copy> copies_;
  std::vector<std::ptrdiff_t> after_;  // per copy: the earlier copy onto the same name, or -1
  std::vector<Outcome> outcomes_;
  std::mutex lock_;
  std::condition_variable ended_;
  std::size_t next_ = 0;  // the next copy a thread takes
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

// How many threads copy for a pack of this many copies that asks for at most `wanted`: none where the
// files cannot be copied side by side, or where so few copies are not worth a thread.
unsigned CopyThreads(unsigned wanted, const platform::PackFiles& files, std::size_t copies);

}  // namespace mdlFile
