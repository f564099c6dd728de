#include "serial/TComm.h"

namespace qx {

void SetProgrammerLinePreset(TComm& comm) {
  comm.SetBaudRate(1000000);
  comm.SetParityCheck(false);
  comm.SetOutx_CtsFlow(false);
  comm.SetOutx_DsrFlow(false);
  comm.SetDtrControl(TDtrControl::DtrDisable);
  comm.SetDsrSensitivity(false);
  comm.SetTxContinueOnXoff(false);
  comm.SetOutx_XonXoffFlow(false);
  comm.SetInx_XonXoffFlow(false);
  comm.SetReplaceWhenParityError(false);
  comm.SetIgnoreNullChar(false);
  comm.SetRtsControl(TRtsControl::RtsDisable);
  comm.SetXonLimit(500);
  comm.SetXoffLimit(500);
  comm.SetByteSize(TByteSize::_8);
  comm.SetParity(TParity::None);
  comm.SetStopBits(TStopBits::_2);
  comm.SetXonChar(17);
  comm.SetXoffChar(19);
  comm.SetReplacedChar(0);
  comm.SetReadIntervalTimeout(3);
  comm.SetReadTotalTimeoutMultiplier(0);
  comm.SetReadTotalTimeoutConstant(0);
  comm.SetWriteTotalTimeoutMultiplier(0);
  comm.SetWriteTotalTimeoutConstant(0);
}

}  // namespace qx
