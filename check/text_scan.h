// What a check needs from a text file's bytes, taken as they stream past: its line ends and the
// companion files it names ("Main.frx":0000).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/code_page_text.h"

namespace check {

struct CompanionReference {
  std::string name;  // as written between the quotes
  int64_t line = 0;  // the first line naming it, from 1
};

// The instruction sets the scan of clean blocks can use; each gives the same results.
enum class Vectors { Plain, Avx2, Avx512 };
// Those this processor has, the best last.
std::vector<Vectors> AvailableVectors();
Vectors BestVectors();

class TextScan {
 public:
  // Tests pin each set the processor has in turn.
  // lead: the lead bytes of the code page the file is written in, so that companion names are told
  // apart by characters.
  explicit TextScan(Vectors vectors = BestVectors(), const base::LeadBytes& lead = {})
      : vectors_(vectors), lead_(lead) {}
  // Bytes in file order, in pieces of any size.
  void Feed(std::string_view bytes);
  // The end of the file: a CR left over from the last piece is a line end of its own.
  void Finish();

  int64_t crLf() const { return crLf_; }
  int64_t lfOnly() const { return lfOnly_; }
  int64_t crOnly() const { return crOnly_; }
  // The first line whose end is not CR LF; 0 when there is none.
  int64_t firstBadLine() const { return firstBad_; }
  // Each companion name once (compared without regard to case, by characters), in the order first named.
  const std::vector<CompanionReference>& references() const { return references_; }

 private:
  void SlowBlock(const char* p, std::size_t size, std::size_t offset);
  void Terminator(bool bad);
  void Quote(std::size_t offset);

  Vectors vectors_;
  base::LeadBytes lead_;
  int64_t crLf_ = 0;
  int64_t lfOnly_ = 0;
  int64_t crOnly_ = 0;
  int64_t firstBad_ = 0;
  int64_t terminators_ = 0;  // line ends so far; the current line is one more
  bool pendingCr_ = false;
  std::string_view piece_;  // the piece being fed
  std::string carry_;       // the end of the previous pieces, for names that began there
  std::vector<CompanionReference> references_;
  std::vector<std::string> seen_;  // the references' names, lower-cased by characters
};

}  // namespace check
