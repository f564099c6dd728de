#pragma once
// One row of a maker's flash-driver files: a chip name beginning with Prefix loads the
// driver file Stem.
#include <string_view>

namespace qx {

struct DriverFileRow {
  std::string_view Prefix;
  std::string_view Stem;
};

}  // namespace qx
