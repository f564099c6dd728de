#include "texts/TextFileEncoding.h"

#include <iconv.h>

#include <cerrno>

#include "texts/Language.h"

namespace qx {
namespace {

class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (ok()) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts in; on an unconvertible or invalid sequence either fails or, with replace,
  // writes '?' and skips one input byte (and the rest of that UTF-8 sequence).
  std::optional<std::string> Convert(std::string_view in, bool replace) {
    if (!ok()) return std::nullopt;
    std::string out;
    char buf[1024];
    char* src = const_cast<char*>(in.data());
    std::size_t left = in.size();
    while (left > 0) {
      char* dst = buf;
      std::size_t room = sizeof buf;
      const std::size_t r = iconv(cd_, &src, &left, &dst, &room);
      out.append(buf, static_cast<std::size_t>(dst - buf));
      if (r == static_cast<std::size_t>(-1)) {
        if (errno == E2BIG) continue;
        if (!replace) return std::nullopt;
        out.push_back('?');
        do {
          ++src;
          --left;
        } while (left > 0 && (static_cast<unsigned char>(*src) & 0xC0) == 0x80);
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
      }
    }
    char* dst = buf;
    std::size_t room = sizeof buf;
    iconv(cd_, nullptr, nullptr, &dst, &room);
    out.append(buf, static_cast<std::size_t>(dst - buf));
    return out;
  }

 private:
  iconv_t cd_;
};

}  // namespace

std::optional<std::string> Utf8ToGbk(std::string_view utf8) { return Iconv("GBK", "UTF-8").Convert(utf8, false); }

std::optional<std::string> GbkToUtf8(std::string_view gbk) { return Iconv("UTF-8", "GBK").Convert(gbk, false); }

std::string EncodeForTextFile(std::string_view utf8) {
  if (BuildLanguage() != Language::Chinese) return std::string(utf8);
  auto out = Iconv("GBK", "UTF-8").Convert(utf8, true);
  return out ? *out : std::string(utf8);
}

}  // namespace qx
