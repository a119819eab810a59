// Windows code pages on POSIX: a table for Windows-1252, iconv for the others.
#include "platform/posix/code_pages.h"

#include <iconv.h>

#include <array>
#include <bitset>
#include <cerrno>
#include <cstdlib>
#include <stdexcept>

namespace posix {

namespace {

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

// Decodes one UTF-8 sequence at text[i]; false for an ill-formed one.
bool NextUtf8(std::string_view text, std::size_t& i, char32_t& c) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  int length = 0;
  if (lead < 0x80) {
    c = lead;
    length = 1;
  } else if ((lead & 0xE0) == 0xC0) {
    c = lead & 0x1F;
    length = 2;
  } else if ((lead & 0xF0) == 0xE0) {
    c = lead & 0x0F;
    length = 3;
  } else if ((lead & 0xF8) == 0xF0) {
    c = lead & 0x07;
    length = 4;
  } else {
    return false;
  }
  if (i + length > text.size()) return false;
  for (int k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return false;
    c = (c << 6) | (byte(i + k) & 0x3F);
  }
  static constexpr std::array<char32_t, 5> kSmallest{0, 0, 0x80, 0x800, 0x10000};
  if (c < kSmallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
  i += length;
  return true;
}

// Windows-1252 as Windows maps it: its five unassigned bytes stand for the C1 controls of the same value.
class Windows1252 : public platform::CodePage {
 public:
  std::string ToUtf8(std::string_view bytes) const override {
    std::string out;
    out.reserve(bytes.size());
    for (const char b : bytes) AppendUtf8(out, Decode(static_cast<unsigned char>(b)));
    return out;
  }

  std::optional<std::string> FromUtf8(std::string_view utf8) const override {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
      char32_t c = 0;
      if (!NextUtf8(utf8, i, c)) return std::nullopt;
      const auto byte = Encode(c);
      if (!byte) return std::nullopt;
      out.push_back(static_cast<char>(*byte));
    }
    return out;
  }

 private:
  static constexpr std::array<char32_t, 32> kHigh{
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

  static char32_t Decode(unsigned char b) { return (b >= 0x80 && b < 0xA0) ? kHigh[b - 0x80] : b; }

  static std::optional<unsigned char> Encode(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<unsigned char>(c);
    for (std::size_t k = 0; k < kHigh.size(); ++k) {
      if (kHigh[k] == c) return static_cast<unsigned char>(0x80 + k);
    }
    return std::nullopt;
  }
};

// One iconv conversion descriptor, closed with its owner.
class Iconv {
 public:
  Iconv(const std::string& to, const std::string& from) : cd_(iconv_open(to.c_str(), from.c_str())) {}
  ~Iconv() {
    if (Valid()) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  bool Valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts the whole text; on an unconvertible sequence calls onBad(in, left) which returns the
  // number of input bytes to skip, or 0 to give up.
  template <typename OnBad>
  bool Convert(std::string_view text, std::string& out, OnBad onBad) const {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    std::array<char, 4096> block{};
    while (inLeft > 0) {
      char* dst = block.data();
      std::size_t dstLeft = block.size();
      const std::size_t r = iconv(cd_, &in, &inLeft, &dst, &dstLeft);
      out.append(block.data(), dst - block.data());
      if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
        const std::size_t skip = onBad(out, inLeft);
        if (skip == 0 || skip > inLeft) return false;
        in += skip;
        inLeft -= skip;
      }
    }
    // A stateful converter (1258 composes a letter with the accent that may follow it) holds back the
    // last character until it is told the text has ended.
    for (;;) {
      char* dst = block.data();
      std::size_t dstLeft = block.size();
      const std::size_t r = iconv(cd_, nullptr, nullptr, &dst, &dstLeft);
      out.append(block.data(), dst - block.data());
      if (r != static_cast<std::size_t>(-1)) return true;
      if (errno != E2BIG) return false;
    }
  }

 private:
  iconv_t cd_;
};

class IconvCodePage : public platform::CodePage {
 public:
  IconvCodePage(const std::string& name, std::bitset<256> leadBytes)
      : decode_("UTF-8", name), encode_(name, "UTF-8"), leadBytes_(leadBytes) {
    if (!decode_.Valid() || !encode_.Valid())
      throw std::invalid_argument("code page " + name + " is not available");
  }

  std::string ToUtf8(std::string_view bytes) const override {
    std::string out;
    // Text that does not decode is still shown, one replacement character per undecodable byte.
    decode_.Convert(bytes, out, [](std::string& o, std::size_t) {
      o += "\xEF\xBF\xBD";
      return std::size_t{1};
    });
    return out;
  }

  std::optional<std::string> FromUtf8(std::string_view utf8) const override {
    std::string out;
    if (!encode_.Convert(utf8, out, [](std::string&, std::size_t) { return std::size_t{0}; }))
      return std::nullopt;
    return out;
  }

  std::bitset<256> LeadBytes() const override { return leadBytes_; }

 private:
  Iconv decode_;
  Iconv encode_;
  std::bitset<256> leadBytes_;
};

// The lead bytes of Windows' double-byte code pages, as its tables define them.
std::bitset<256> LeadBytesOf(int number) {
  std::bitset<256> lead;
  const auto range = [&lead](int first, int last) {
    for (int b = first; b <= last; ++b) lead.set(static_cast<std::size_t>(b));
  };
  if (number == 932) {
    range(0x81, 0x9F);
    range(0xE0, 0xFC);
  } else if (number == 936 || number == 949 || number == 950) {
    range(0x81, 0xFE);
  }
  return lead;
}

}  // namespace

std::unique_ptr<platform::CodePage> MakeCodePage(int number) {
  if (number == 1252) return std::make_unique<Windows1252>();
  const bool known = number == 874 || number == 932 || number == 936 || number == 949 || number == 950 ||
                     (number >= 1250 && number <= 1258);
  if (!known) throw std::invalid_argument("code page " + std::to_string(number) + " is not supported");
  return std::make_unique<IconvCodePage>("CP" + std::to_string(number), LeadBytesOf(number));
}

std::unique_ptr<platform::CodePage> SystemCodePage() {
  const char* value = std::getenv("TARVEX_CODEPAGE");
  if (value == nullptr || *value == '\0') return MakeCodePage(1252);
  char* end = nullptr;
  const long number = std::strtol(value, &end, 10);
  if (*end != '\0' || number <= 0 || number > 65535) {
    throw std::invalid_argument(std::string("TARVEX_CODEPAGE is not a code page number: ") + value);
  }
  return MakeCodePage(static_cast<int>(number));
}

}  // namespace posix
