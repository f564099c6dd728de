#pragma once
// printf-like formatting of catalogue texts. Directives: %[-][0][width][.precision]type with
// type d, i, u (decimal), x, X (hexadecimal, always upper case), s, c, f and %%. The
// precision of an integer is its minimum digit count ("0x%0.8x" gives 0x0800ABCD), of a
// string its maximum length, of f its decimals (default 2). A directive without an
// argument expands to nothing.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>

namespace qx {

class FmtArg {
 public:
  enum class Kind { Signed, Unsigned, Real, String };

  template <typename T, std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool>, int> = 0>
  FmtArg(T v) {  // NOLINT(google-explicit-constructor)
    if constexpr (std::is_signed_v<T>) {
      kind_ = Kind::Signed;
      i_ = v;
      bits_ = sizeof(T) * 8;
    } else {
      kind_ = Kind::Unsigned;
      u_ = v;
      bits_ = sizeof(T) * 8;
    }
  }
  FmtArg(bool v) : kind_(Kind::Unsigned), u_(v ? 1 : 0) {}  // NOLINT
  FmtArg(double v) : kind_(Kind::Real), d_(v) {}            // NOLINT
  FmtArg(std::string_view v) : kind_(Kind::String), s_(v) {}  // NOLINT
  FmtArg(const std::string& v) : kind_(Kind::String), s_(v) {}  // NOLINT
  FmtArg(const char* v) : kind_(Kind::String), s_(v ? v : "") {}  // NOLINT

  Kind kind() const { return kind_; }
  std::int64_t AsSigned() const;
  // Two's complement of a negative value at the width of its type (%x of -1 as int is FFFFFFFF).
  std::uint64_t AsUnsigned() const;
  double AsReal() const;
  std::string AsString() const;

 private:
  Kind kind_;
  std::int64_t i_ = 0;
  std::uint64_t u_ = 0;
  double d_ = 0;
  std::string_view s_;
  unsigned bits_ = 64;
};

std::string Format(std::string_view fmt, std::initializer_list<FmtArg> args);

// The directives of fmt in order (type letters, "%%" left out): used to check that both
// languages of a text take the same arguments.
std::string FormatSignature(std::string_view fmt);

}  // namespace qx
