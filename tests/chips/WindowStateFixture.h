#pragma once
// The main window's chip-dependent controls as plain state: a change list is applied the
// way the window applies it (only the properties given), so tests can follow a sequence
// of chips and operator clicks without a window. Only the designed names exist; a change
// to any other name is a test failure.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "chips/WindowChanges.h"

namespace qx::test {

struct ControlState {
  bool Visible = true;
  bool Enabled = true;
  bool Checked = false;
  bool Selected = false;
  int ItemIndex = 0;
  std::optional<TextId> Caption;
  std::string Text;
};

class WindowState {
 public:
  // The controls as the window opens: all shown, enabled and clear.
  WindowState() {
    for (const char* name :
         {"RadioGpVolt", "LabelDEVA", "EditDevAdr", "BtnOptionCfg", "CheckBoxOpt", "SpdBtnWrtOPB", "ReadOptionByte1",
          "WriteOptionByte1", "ShowChipOptionData1", "ReadMG32xxChipID1", "RadioGroupPIF", "ChkBoxRDP", "TabSheetSLG",
          "EditBTAS", "EditBTAE", "EditAPAS", "EditAPAE", "EditSumy", "Execute2", "AutoSpdBtn", "SpdBtnErase",
          "SpdBtnProg", "SpdBtnDownLoad", "ChkBoxPrgEEP", "ChkBoxErsEEP", "TabSheetEEP", "ReadEEPMemory1",
          "LoadEepDataFile1", "WriteEepDataMemory1", "SaveEepDatatoFile1", "DpCpInfX"}) {
      controls_[name];
    }
  }

  void Apply(const WindowChanges& changes) {
    for (const ControlChange& c : changes) {
      const auto it = controls_.find(c.Name);
      if (it == controls_.end()) {
        ADD_FAILURE() << "change to an unknown control " << c.Name;
        continue;
      }
      ControlState& s = it->second;
      if (c.Visible) s.Visible = *c.Visible;
      if (c.Enabled) s.Enabled = *c.Enabled;
      if (c.Checked) s.Checked = *c.Checked;
      if (c.Selected) s.Selected = *c.Selected;
      if (c.ItemIndex) s.ItemIndex = *c.ItemIndex;
      if (c.Caption) s.Caption = *c.Caption;
      if (c.Text) s.Text = *c.Text;
    }
  }

  ControlState& operator[](std::string_view name) {
    const auto it = controls_.find(name);
    if (it == controls_.end()) throw std::out_of_range(std::string(name));
    return it->second;
  }

 private:
  std::map<std::string, ControlState, std::less<>> controls_;
};

}  // namespace qx::test
