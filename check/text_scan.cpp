#include "check/text_scan.h"

#include <algorithm>
#include <array>

#include "project/component_kinds.h"
#include "project/mdl_trim.h"

namespace check {

namespace {

// A name between quotes longer than a Windows path names no file.
constexpr std::size_t kLongestName = 260;
constexpr std::size_t kBlock = 64;

// Every companion extension the table of kinds knows, once.
std::vector<std::string_view> CompanionExtensions() {
  std::vector<std::string_view> all;
  for (const auto& kind : mdlFile::kComponentKinds) {
    for (const auto extension : kind.companions) {
      if (std::find(all.begin(), all.end(), extension) == all.end()) all.push_back(extension);
    }
  }
  return all;
}

bool EndsWithFolded(std::string_view text, std::string_view lowerSuffix) {
  return text.size() >= lowerSuffix.size() &&
         mdlTrim::EqualsIgnoringAsciiCase(text.substr(text.size() - lowerSuffix.size()), lowerSuffix);
}

}  // namespace

void TextScan::Terminator(bool bad) {
  ++terminators_;
  if (bad && firstBad_ == 0) firstBad_ = terminators_;
}

void TextScan::Feed(std::string_view bytes) {
  piece_ = bytes;
  const char* p = bytes.data();
  const std::size_t n = bytes.size();
  std::size_t i = 0;
  while (i < n) {
    // Most blocks hold only CR LF pairs: those are counted without looking at each byte in turn. Their
    // neighbours on both sides must be in this piece.
    // Its last byte must not be a CR, whose LF the next block, perhaps looked at byte by byte, holds.
    if (!pendingCr_ && i >= 1 && i + kBlock < n && p[i + kBlock - 1] != '\r') {
      unsigned bad = 0;
      unsigned lines = 0;
      unsigned quotes = 0;
      for (std::size_t k = 0; k < kBlock; ++k) {
        const char c = p[i + k];
        bad |= static_cast<unsigned>((c == '\n') & (p[i + k - 1] != '\r')) |
               static_cast<unsigned>((c == '\r') & (p[i + k + 1] != '\n'));
        lines += static_cast<unsigned>(c == '\n');
        quotes += static_cast<unsigned>(c == '"');
      }
      if (bad == 0) {
        if (quotes != 0) {
          int64_t before = terminators_;
          for (std::size_t k = 0; k < kBlock; ++k) {
            if (p[i + k] == '"') {
              terminators_ = before + std::count(p + i, p + i + k, '\n');
              Quote(i + k);
            }
          }
          terminators_ = before;
        }
        terminators_ += lines;
        crLf_ += lines;
        i += kBlock;
        continue;
      }
    }
    const std::size_t size = std::min(kBlock, n - i);
    SlowBlock(p + i, size, i);
    i += size;
  }
  // Keep the end of this piece's last line for a name that goes on in the next one.
  const std::size_t keep = std::min(n, kLongestName);
  const std::string_view tail = bytes.substr(n - keep);
  if (const auto end = tail.find_last_of("\r\n"); end != std::string_view::npos) {
    carry_.assign(tail.substr(end + 1));
  } else if (keep == n) {
    carry_.append(tail);
    if (carry_.size() > kLongestName) carry_.erase(0, carry_.size() - kLongestName);
  } else {
    carry_.assign(tail);
  }
  piece_ = {};
}

void TextScan::SlowBlock(const char* p, std::size_t size, std::size_t offset) {
  for (std::size_t k = 0; k < size; ++k) {
    const char c = p[k];
    if (pendingCr_) {
      pendingCr_ = false;
      if (c == '\n') {
        ++crLf_;
        Terminator(false);
        continue;
      }
      ++crOnly_;
      Terminator(true);
    }
    if (c == '\r') {
      pendingCr_ = true;
    } else if (c == '\n') {
      ++lfOnly_;
      Terminator(true);
    } else if (c == '"') {
      Quote(offset + k);
    }
  }
}

void TextScan::Quote(std::size_t offset) {
  static const std::vector<std::string_view> extensions = CompanionExtensions();
  // The text before the quote on its line, as far back as a name can reach.
  const std::size_t own = std::min(offset, kLongestName);
  std::string joined;
  std::string_view before = piece_.substr(offset - own, own);
  if (own < kLongestName && own == offset && !carry_.empty()) {
    joined = carry_ + std::string(before);
    before = joined;
  }
  const bool named = std::any_of(extensions.begin(), extensions.end(),
                                 [&](std::string_view extension) { return EndsWithFolded(before, extension); });
  if (!named) return;
  const auto open = before.find_last_of("\"\r\n");
  if (open == std::string_view::npos || before[open] != '"') return;
  const std::string_view name = before.substr(open + 1);
  std::string lower = mdlTrim::LowerAscii(name);
  if (std::find(seen_.begin(), seen_.end(), lower) != seen_.end()) return;
  seen_.push_back(std::move(lower));
  references_.push_back({std::string(name), terminators_ + 1});
}

void TextScan::Finish() {
  if (pendingCr_) {
    pendingCr_ = false;
    ++crOnly_;
    Terminator(true);
  }
}

}  // namespace check
