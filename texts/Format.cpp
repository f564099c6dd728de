#include "texts/Format.h"

#include <cstdio>
#include <vector>

namespace qx {

std::int64_t FmtArg::AsSigned() const {
  switch (kind_) {
    case Kind::Signed: return i_;
    case Kind::Unsigned: return static_cast<std::int64_t>(u_);
    case Kind::Real: return static_cast<std::int64_t>(d_);
    case Kind::String: return 0;
  }
  return 0;
}

std::uint64_t FmtArg::AsUnsigned() const {
  switch (kind_) {
    case Kind::Signed: {
      auto v = static_cast<std::uint64_t>(i_);
      if (bits_ < 64) v &= (std::uint64_t{1} << bits_) - 1;
      return v;
    }
    case Kind::Unsigned: return u_;
    case Kind::Real: return static_cast<std::uint64_t>(d_);
    case Kind::String: return 0;
  }
  return 0;
}

double FmtArg::AsReal() const {
  switch (kind_) {
    case Kind::Signed: return static_cast<double>(i_);
    case Kind::Unsigned: return static_cast<double>(u_);
    case Kind::Real: return d_;
    case Kind::String: return 0;
  }
  return 0;
}

std::string FmtArg::AsString() const {
  switch (kind_) {
    case Kind::Signed: return std::to_string(i_);
    case Kind::Unsigned: return std::to_string(u_);
    case Kind::Real: return Format("%f", {d_});
    case Kind::String: return std::string(s_);
  }
  return {};
}

namespace {

struct Spec {
  bool left = false;
  bool zero = false;
  int width = 0;
  int precision = -1;
  char type = 0;
};

// Parses a directive starting after '%'; returns the index after it, or npos if malformed.
std::size_t ParseSpec(std::string_view f, std::size_t i, Spec& s) {
  if (i < f.size() && f[i] == '-') { s.left = true; ++i; }
  if (i < f.size() && f[i] == '0') { s.zero = true; ++i; }
  while (i < f.size() && f[i] >= '0' && f[i] <= '9') {
    if (s.width < 1000) s.width = s.width * 10 + (f[i] - '0');
    ++i;
  }
  if (i < f.size() && f[i] == '.') {
    ++i;
    s.precision = 0;
    while (i < f.size() && f[i] >= '0' && f[i] <= '9') {
      if (s.precision < 1000) s.precision = s.precision * 10 + (f[i] - '0');
      ++i;
    }
  }
  if (i >= f.size()) return std::string_view::npos;
  const char t = f[i];
  switch (t) {
    case 'd': case 'i': case 'u': case 'x': case 'X': case 's': case 'c': case 'f':
      s.type = t;
      return i + 1;
    default:
      return std::string_view::npos;
  }
}

std::string Digits(std::uint64_t v, unsigned base) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  char buf[24];
  int n = 0;
  do {
    buf[n++] = kHex[v % base];
    v /= base;
  } while (v != 0);
  std::string out;
  out.reserve(static_cast<std::size_t>(n));
  while (n > 0) out.push_back(buf[--n]);
  return out;
}

void Pad(std::string& out, std::string body, const Spec& s, bool numeric) {
  const auto width = static_cast<std::size_t>(s.width);
  if (body.size() < width) {
    const std::size_t fill = width - body.size();
    if (s.left) {
      body.append(fill, ' ');
    } else if (s.zero && numeric && s.precision < 0) {
      const std::size_t at = (!body.empty() && body[0] == '-') ? 1 : 0;
      body.insert(at, fill, '0');
    } else {
      body.insert(0, fill, ' ');
    }
  }
  out += body;
}

std::string Integer(const FmtArg& a, const Spec& s) {
  std::string body;
  bool negative = false;
  if (s.type == 'x' || s.type == 'X') {
    body = Digits(a.AsUnsigned(), 16);
  } else if (s.type == 'u') {
    body = Digits(a.AsUnsigned(), 10);
  } else if (a.kind() == FmtArg::Kind::Unsigned) {
    body = Digits(a.AsUnsigned(), 10);
  } else {
    const std::int64_t v = a.AsSigned();
    negative = v < 0;
    body = Digits(negative ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v), 10);
  }
  if (s.precision > 0 && body.size() < static_cast<std::size_t>(s.precision)) {
    body.insert(0, static_cast<std::size_t>(s.precision) - body.size(), '0');
  }
  if (negative) body.insert(0, 1, '-');
  return body;
}

}  // namespace

std::string Format(std::string_view fmt, std::initializer_list<FmtArg> args) {
  std::string out;
  out.reserve(fmt.size() + 16);
  auto next = args.begin();
  std::size_t i = 0;
  while (i < fmt.size()) {
    const char c = fmt[i];
    if (c != '%') {
      out.push_back(c);
      ++i;
      continue;
    }
    if (i + 1 < fmt.size() && fmt[i + 1] == '%') {
      out.push_back('%');
      i += 2;
      continue;
    }
    Spec s;
    const std::size_t end = ParseSpec(fmt, i + 1, s);
    if (end == std::string_view::npos) {  // not a directive: keep it as text
      out.push_back(c);
      ++i;
      continue;
    }
    i = end;
    if (next == args.end()) continue;
    const FmtArg& a = *next++;
    switch (s.type) {
      case 's': {
        std::string body = a.AsString();
        if (s.precision >= 0 && body.size() > static_cast<std::size_t>(s.precision)) {
          body.resize(static_cast<std::size_t>(s.precision));
        }
        Pad(out, std::move(body), s, false);
        break;
      }
      case 'c':
        Pad(out, std::string(1, static_cast<char>(a.AsUnsigned())), s, false);
        break;
      case 'f': {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.*f", s.precision < 0 ? 2 : (s.precision > 30 ? 30 : s.precision),
                      a.AsReal());
        Pad(out, buf, s, true);
        break;
      }
      default:
        Pad(out, Integer(a, s), s, true);
        break;
    }
  }
  return out;
}

std::string FormatSignature(std::string_view fmt) {
  std::string sig;
  std::size_t i = 0;
  while (i < fmt.size()) {
    if (fmt[i] != '%') { ++i; continue; }
    if (i + 1 < fmt.size() && fmt[i + 1] == '%') { i += 2; continue; }
    Spec s;
    const std::size_t end = ParseSpec(fmt, i + 1, s);
    if (end == std::string_view::npos) { ++i; continue; }
    sig.append(fmt.substr(i, end - i));
    sig.push_back(' ');
    i = end;
  }
  return sig;
}

}  // namespace qx
