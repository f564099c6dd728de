#pragma once
// Errors that end an operator command and are shown by the window's error box.
#include <stdexcept>
#include <string>

namespace qx {

// A number field whose text is not an integer.
class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A file that could not be opened, read or written.
class EInOutError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace qx
