#pragma once
// What a chip family does to the main window, as data: each change names a control by its
// object name and sets only the properties it holds; everything else stays as it is. The
// window applies a list of changes in order; tests read the list without a window.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "texts/TextId.h"

namespace qx {

struct ControlChange {
  // Object name of a widget, a menu action, a menu, or a tab page (for a page, Visible is
  // the visibility of its tab and Selected brings it to the front of its tab widget).
  std::string_view Name;
  std::optional<bool> Visible;
  std::optional<bool> Enabled;
  std::optional<bool> Checked;
  std::optional<bool> Selected;
  std::optional<int> ItemIndex;  // radio groups: the checked item, -1 for none
  std::optional<TextId> Caption;
  std::optional<std::string> Text;  // edits and labels: their text
};

using WindowChanges = std::vector<ControlChange>;

}  // namespace qx
