#pragma once
#include <stdexcept>
#include <string>

namespace qx {

// Every failure of TComm::OpenPort; carries only its message.
class ECommsError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace qx
