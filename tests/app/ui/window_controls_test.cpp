// The setting controls read into and shown from the plain structs the rules take.
#include <gtest/gtest.h>

#include "app/ui/WindowControls.h"
#include "tests/app/ui/WindowFixture.h"

namespace qx::test {
namespace {

using WindowControls = WindowTest;

TEST_F(WindowControls, DesignValuesReadAsTheStructsDefaults) {
  EXPECT_EQ(ReadProgramControls(window), ProgramControls{});
  const CustomerInfoControls c = ReadCustomerInfoControls(window);
  EXPECT_EQ(c.EditSumy, "0xFFFFFFFF");
  EXPECT_EQ(c.EditPOLY, "0x04C11DB7");
  EXPECT_FALSE(c.ChkBoxPrgInf);
}

TEST_F(WindowControls, EveryValueShownIsReadBack) {
  ProgramControls c;
  c.RadioGroupPIF = 1;
  c.RadioGpVolt = -1;  // none checked
  c.RadioGrpSpdF = 1;
  c.CheckBoxOpt = c.ChkBoxRDP = c.ChkBoxErsEEP = c.ChkBoxPrgEEP = true;
  c.RadioGrpRST = 2;
  c.ChkBoxBlkEr = c.ChkBoxAuto = c.CheckBoxCtrl = c.ChkBoxVDD = c.CheckBoxRun = true;
  c.ChkBoxCpErsM = c.ChkBoxRunSHT = true;
  c.SpinEditNum = 1234;
  c.SpinEditIn = 900;
  c.SpinEditOut = 1200;
  c.SpinEditVddTim = 250;
  c.SpinEditPWDTim = 30;
  c.SpinEditRTM = 1500;
  c.EditDevAdr = "0x5A";
  c.CheckBoxSN = true;
  c.SNOrderChk = false;
  c.SNEdit1 = "4000000000";
  c.GainEdit = "0x10";
  c.AddrEdit = "0x0800FFF0";
  c.ChkBoxPCSN = c.ChkBoxSNDP = true;
  ShowProgramControls(window, c);
  EXPECT_EQ(ReadProgramControls(window), c);
}

}  // namespace
}  // namespace qx::test
