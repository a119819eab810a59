#include "check/text_scan.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "project/component_kinds.h"
#include "project/mdl_trim.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

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

const std::vector<std::string_view>& Extensions() {
  static const std::vector<std::string_view> extensions = CompanionExtensions();
  return extensions;
}

// The last letters of the companion extensions, in lower case, each once. A quote after one of them, in
// either case, may close a companion's name; most quotes close none, and this tells them at a glance,
// for a whole block at once.
struct LetterSet {
  std::array<char, 8> letters{};
  std::size_t size = 0;
};

constexpr LetterSet kLastLetterSet = [] {
  LetterSet set;
  for (const auto& kind : mdlFile::kComponentKinds) {
    for (const auto extension : kind.companions) {
      const char c = mdlTrim::LowerAsciiChar(extension.back());
      bool known = false;
      for (std::size_t k = 0; k < set.size; ++k) known = known || set.letters[k] == c;
      if (!known) set.letters[set.size++] = c;
    }
  }
  return set;
}();

// A byte with bit 5 set is a letter's lower case exactly when the letter is in a to z.
static_assert(
    [] {
      for (std::size_t k = 0; k < kLastLetterSet.size; ++k) {
        if (kLastLetterSet.letters[k] < 'a' || kLastLetterSet.letters[k] > 'z') return false;
      }
      return kLastLetterSet.size > 0;
    }(),
    "companion extensions end in a letter");

constexpr std::array<bool, 256> kLastLetters = [] {
  std::array<bool, 256> letters{};
  for (std::size_t k = 0; k < kLastLetterSet.size; ++k) {
    const auto c = static_cast<unsigned char>(kLastLetterSet.letters[k]);
    letters[c] = true;
    letters[c - 'a' + 'A'] = true;
  }
  return letters;
}();

bool IsLastLetter(char c) {
  return kLastLetters[static_cast<unsigned char>(c)];
}

struct BlockMasks {
  uint64_t cr = 0, lf = 0, quote = 0, letter = 0;  // bit k: byte k of the block is one
  int lfCount = 0;

  // The quotes that may close a companion's name; letterBefore: the byte before the block is a last letter.
  uint64_t NameQuotes(bool letterBefore) const { return quote & ((letter << 1) | (letterBefore ? 1 : 0)); }
};

// Whole blocks from the start that hold only CR LF pairs and no quote that may close a companion's name.
struct CleanRun {
  std::size_t bytes = 0;
  int64_t lines = 0;
  bool cr = false;  // the last byte is a CR, whose LF starts the next block
};

// The run over size bytes, the CR before them given, with Masks making each block's masks.
template <BlockMasks (*Masks)(const char*)>
[[gnu::always_inline]] inline CleanRun RunOf(const char* p, std::size_t size, bool cr, char previous) {
  CleanRun run{0, 0, cr};
  bool letter = IsLastLetter(previous);
  for (; run.bytes + 64 <= size; run.bytes += 64) {
    const BlockMasks masks = Masks(p + run.bytes);
    if (masks.lf != ((masks.cr << 1) | (run.cr ? 1 : 0)) || masks.NameQuotes(letter) != 0) return run;
    run.lines += masks.lfCount;
    run.cr = (masks.cr >> 63) != 0;
    letter = (masks.letter >> 63) != 0;
  }
  return run;
}

#if defined(__SSE2__)
[[gnu::always_inline]] inline BlockMasks MasksOf(const char* p) {
  BlockMasks masks;
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i quote = _mm_set1_epi8('"');
  const __m128i lowerCase = _mm_set1_epi8(0x20);
  // The LFs are also counted lane by lane: without the POPCNT instruction, which the baseline lacks,
  // counting the mask's bits costs more than the rest of the block.
  __m128i lfs = _mm_setzero_si128();
  for (int part = 0; part < 4; ++part) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * part));
    const auto bits = [part](__m128i equal) {
      return static_cast<uint64_t>(static_cast<uint16_t>(_mm_movemask_epi8(equal))) << (16 * part);
    };
    const __m128i isLf = _mm_cmpeq_epi8(bytes, lf);
    lfs = _mm_sub_epi8(lfs, isLf);
    masks.cr |= bits(_mm_cmpeq_epi8(bytes, cr));
    masks.lf |= bits(isLf);
    masks.quote |= bits(_mm_cmpeq_epi8(bytes, quote));
    const __m128i folded = _mm_or_si128(bytes, lowerCase);
    __m128i letters = _mm_setzero_si128();
    for (std::size_t k = 0; k < kLastLetterSet.size; ++k) {
      letters = _mm_or_si128(letters, _mm_cmpeq_epi8(folded, _mm_set1_epi8(kLastLetterSet.letters[k])));
    }
    masks.letter |= bits(letters);
  }
  const __m128i sums = _mm_sad_epu8(lfs, _mm_setzero_si128());
  masks.lfCount = _mm_cvtsi128_si32(sums) + _mm_cvtsi128_si32(_mm_srli_si128(sums, 8));
  return masks;
}
#else
[[gnu::always_inline]] inline BlockMasks MasksOf(const char* p) {
  BlockMasks masks;
  for (int k = 0; k < 64; ++k) {
    masks.cr |= static_cast<uint64_t>(p[k] == '\r') << k;
    masks.lf |= static_cast<uint64_t>(p[k] == '\n') << k;
    masks.quote |= static_cast<uint64_t>(p[k] == '"') << k;
    masks.letter |= static_cast<uint64_t>(IsLastLetter(p[k])) << k;
  }
  masks.lfCount = std::popcount(masks.lf);
  return masks;
}
#endif

// A table for a byte lookup by the low four bits of a lower-cased byte, once for each 16-byte lane: the
// last letter with those bits, or 0, which no lower-cased byte is. The letters' low bits differ, so one
// lookup tells them.
constexpr std::array<char, 64> kLastLetterByLowBits = [] {
  std::array<char, 64> table{};
  for (std::size_t k = 0; k < kLastLetterSet.size; ++k) {
    for (std::size_t lane = 0; lane < 64; lane += 16) {
      table[lane + (kLastLetterSet.letters[k] & 0x0f)] = kLastLetterSet.letters[k];
    }
  }
  return table;
}();
static_assert(
    [] {
      std::size_t found = 0;
      for (std::size_t k = 0; k < 16; ++k) found += kLastLetterByLowBits[k] != 0;
      return found == kLastLetterSet.size;
    }(),
    "the last letters differ in their low four bits");

#if defined(__x86_64__) || defined(__i386__)
// The lanes of bytes that are a last letter, in either case.
__attribute__((target("avx2,popcnt"))) inline __m256i LastLettersWide(__m256i bytes) {
  const __m256i folded = _mm256_or_si256(bytes, _mm256_set1_epi8(0x20));
  const __m256i letters = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(kLastLetterByLowBits.data()));
  return _mm256_cmpeq_epi8(_mm256_shuffle_epi8(letters, folded), folded);
}

// The same masks 32 bytes at a time, where the processor has AVX2 (and so POPCNT): the read bench
// finds a check spending about half as long in its own scan with them.
__attribute__((target("avx2,popcnt"))) BlockMasks MasksOfWide(const char* p) {
  BlockMasks masks;
  const __m256i cr = _mm256_set1_epi8('\r');
  const __m256i lf = _mm256_set1_epi8('\n');
  const __m256i quote = _mm256_set1_epi8('"');
  for (int part = 0; part < 2; ++part) {
    const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32 * part));
    const int shift = 32 * part;
    masks.cr |= uint64_t{static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(bytes, cr)))} << shift;
    masks.lf |= uint64_t{static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(bytes, lf)))} << shift;
    masks.quote |= uint64_t{static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(bytes, quote)))}
                   << shift;
    masks.letter |= uint64_t{static_cast<uint32_t>(_mm256_movemask_epi8(LastLettersWide(bytes)))} << shift;
  }
  masks.lfCount = __builtin_popcountll(masks.lf);
  return masks;
}

// The bytes of a block whose clean state a look one byte back settles without bit masks: an LF where
// the byte before is no CR, a CR before no LF, a quote after a last letter.
__attribute__((target("avx2,popcnt"))) inline __m256i UncleanWide(__m256i bytes, __m256i before) {
  const __m256i isLf = _mm256_cmpeq_epi8(bytes, _mm256_set1_epi8('\n'));
  const __m256i afterCr = _mm256_cmpeq_epi8(before, _mm256_set1_epi8('\r'));
  const __m256i nameQuote =
      _mm256_and_si256(_mm256_cmpeq_epi8(bytes, _mm256_set1_epi8('"')), LastLettersWide(before));
  return _mm256_or_si256(_mm256_xor_si256(isLf, afterCr), nameQuote);
}

__attribute__((target("avx2,popcnt"))) inline __m256i LoadWide(const char* at) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
}

__attribute__((target("avx2,popcnt"))) inline int64_t LinesIn(__m256i lfCounts) {
  // Four sums of 8 lanes, each below 2^16; read as 32-bit numbers, which 32-bit builds have too.
  const __m256i sums = _mm256_sad_epu8(lfCounts, _mm256_setzero_si256());
  const __m128i low = _mm256_castsi256_si128(sums);
  const __m128i high = _mm256_extracti128_si256(sums, 1);
  return int64_t{_mm_cvtsi128_si32(low)} + _mm_cvtsi128_si32(_mm_srli_si128(low, 8)) +
         _mm_cvtsi128_si32(high) + _mm_cvtsi128_si32(_mm_srli_si128(high, 8));
}

// After the first block, whose byte before may lie in an earlier piece, every block is judged by loading
// it again one byte back: a handful of vector operations for 64 bytes, and the LFs counted lane by lane.
__attribute__((target("avx2,popcnt"))) CleanRun RunWide(const char* p, std::size_t size, bool cr,
                                                        char previous) {
  CleanRun run = RunOf<MasksOfWide>(p, std::min<std::size_t>(size, 64), cr, previous);
  if (run.bytes == 0) return run;
  const __m256i lf = _mm256_set1_epi8('\n');
  __m256i lfCounts = _mm256_setzero_si256();
  int counted = 0;  // blocks in lfCounts; each adds at most 2 to a lane of 8 bits
  for (; run.bytes + 64 <= size; run.bytes += 64) {
    const char* block = p + run.bytes;
    const __m256i low = LoadWide(block);
    const __m256i high = LoadWide(block + 32);
    const __m256i unclean =
        _mm256_or_si256(UncleanWide(low, LoadWide(block - 1)), UncleanWide(high, LoadWide(block + 31)));
    if (!_mm256_testz_si256(unclean, unclean)) break;
    lfCounts = _mm256_sub_epi8(lfCounts, _mm256_cmpeq_epi8(low, lf));
    lfCounts = _mm256_sub_epi8(lfCounts, _mm256_cmpeq_epi8(high, lf));
    if (++counted == 127) {
      run.lines += LinesIn(lfCounts);
      lfCounts = _mm256_setzero_si256();
      counted = 0;
    }
  }
  run.lines += LinesIn(lfCounts);
  run.cr = p[run.bytes - 1] == '\r';
  return run;
}

// The same run with 64-byte vectors where the processor has AVX-512BW: each test of a block is one
// compare into a mask, and the letter test is a compare masked to the quotes. The read bench finds the
// check's own scan about a third faster than with AVX2.
__attribute__((target("avx512bw,avx512f,avx2,popcnt"))) CleanRun RunWidest(const char* p, std::size_t size,
                                                                           bool cr, char previous) {
  CleanRun run = RunOf<MasksOfWide>(p, std::min<std::size_t>(size, 64), cr, previous);
  if (run.bytes == 0) return run;
  const __m512i lf = _mm512_set1_epi8('\n');
  const __m512i carriageReturn = _mm512_set1_epi8('\r');
  const __m512i quote = _mm512_set1_epi8('"');
  const __m512i lowerCase = _mm512_set1_epi8(0x20);
  const __m512i letters = _mm512_loadu_si512(kLastLetterByLowBits.data());
  for (; run.bytes + 64 <= size; run.bytes += 64) {
    const char* block = p + run.bytes;
    const __m512i bytes = _mm512_loadu_si512(block);
    const __m512i before = _mm512_loadu_si512(block - 1);
    const __mmask64 isLf = _mm512_cmpeq_epi8_mask(bytes, lf);
    const __mmask64 afterCr = _mm512_cmpeq_epi8_mask(before, carriageReturn);
    const __m512i folded = _mm512_or_si512(before, lowerCase);
    const __mmask64 nameQuotes = _mm512_mask_cmpeq_epi8_mask(_mm512_cmpeq_epi8_mask(bytes, quote),
                                                             _mm512_shuffle_epi8(letters, folded), folded);
    if (((isLf ^ afterCr) | nameQuotes) != 0) break;
    run.lines += __builtin_popcountll(isLf);
  }
  run.cr = p[run.bytes - 1] == '\r';
  return run;
}
#endif

CleanRun RunPlain(const char* p, std::size_t size, bool cr, char previous) {
  return RunOf<MasksOf>(p, size, cr, previous);
}

using RunFunction = CleanRun (*)(const char*, std::size_t, bool, char);
RunFunction RunFor(Vectors vectors) {
#if defined(__x86_64__) || defined(__i386__)
  if (vectors == Vectors::Avx512) return RunWidest;
  if (vectors == Vectors::Avx2) return RunWide;
#endif
  return RunPlain;
}

bool EndsWithFolded(std::string_view text, std::string_view lowerSuffix) {
  return text.size() >= lowerSuffix.size() &&
         mdlTrim::EqualsIgnoringAsciiCase(text.substr(text.size() - lowerSuffix.size()), lowerSuffix);
}

}  // namespace

std::vector<Vectors> AvailableVectors() {
  std::vector<Vectors> available{Vectors::Plain};
#if defined(__x86_64__) || defined(__i386__)
  if (__builtin_cpu_supports("avx2")) available.push_back(Vectors::Avx2);
  if (__builtin_cpu_supports("avx512bw")) available.push_back(Vectors::Avx512);
#endif
  return available;
}

Vectors BestVectors() {
  static const Vectors best = AvailableVectors().back();
  return best;
}

void TextScan::Terminator(bool bad) {
  ++terminators_;
  if (bad && firstBad_ == 0) firstBad_ = terminators_;
}

void TextScan::Feed(std::string_view bytes) {
  piece_ = bytes;
  const char* p = bytes.data();
  const std::size_t n = bytes.size();
  std::size_t i = 0;
  const RunFunction runOf = RunFor(vectors_);
  while (i < n) {
    // Most blocks hold only CR LF pairs and no quote after a last letter: those are counted from bit
    // masks of their CRs, LFs, quotes and letters without looking at each byte in turn. A pair may
    // straddle two blocks: the CR is carried over.
    const char previous = i > 0 ? p[i - 1] : (carry_.empty() ? '\0' : carry_.back());
    const CleanRun run = runOf(p + i, n - i, pendingCr_, previous);
    terminators_ += run.lines;
    crLf_ += run.lines;
    pendingCr_ = run.cr;
    i += run.bytes;
    if (i >= n) break;
    if (i + kBlock <= n) {
      const BlockMasks masks = MasksOf(p + i);
      const uint64_t carried = pendingCr_ ? 1 : 0;
      if (masks.lf == ((masks.cr << 1) | carried)) {
        const char last = i > 0 ? p[i - 1] : (carry_.empty() ? '\0' : carry_.back());
        for (uint64_t quotes = masks.NameQuotes(IsLastLetter(last)); quotes != 0; quotes &= quotes - 1) {
          const int bit = std::countr_zero(quotes);
          const int64_t before = terminators_;
          terminators_ += std::popcount(masks.lf & ((uint64_t{1} << bit) - 1));
          Quote(i + static_cast<std::size_t>(bit));
          terminators_ = before;
        }
        const int lines = masks.lfCount;
        terminators_ += lines;
        crLf_ += lines;
        pendingCr_ = (masks.cr >> 63) != 0;
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
  const auto& extensions = Extensions();
  const char previous = offset > 0 ? piece_[offset - 1] : (carry_.empty() ? '\0' : carry_.back());
  if (!IsLastLetter(previous)) return;
  // The text before the quote on its line, as far back as a name can reach.
  const std::size_t own = std::min(offset, kLongestName);
  std::string joined;
  std::string_view before = piece_.substr(offset - own, own);
  if (own < kLongestName && own == offset && !carry_.empty()) {
    joined = carry_ + std::string(before);
    before = joined;
  }
  const bool named = std::any_of(extensions.begin(), extensions.end(), [&](std::string_view extension) {
    return EndsWithFolded(before, extension);
  });
  if (!named) return;
  const auto open = before.find_last_of("\"\r\n");
  if (open == std::string_view::npos || before[open] != '"') return;
  const std::string_view name = before.substr(open + 1);
  // Two names that differ in the second byte of a character are two files, even when that byte is a letter.
  std::string lower = base::LowerText(name, lead_);
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
