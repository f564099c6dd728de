#include "programmer/TCommUnitPort.h"

#include "programmer/ReceiveRouting.h"

namespace qx {

UnitCommRouter::~UnitCommRouter() {
  for (std::size_t k = 0; k < UnitMax; ++k) {
    if (!ports_[k]) continue;
    s_.Port[k] = &s_.NoPort;
    TComm& comm = ports_[k]->Comm();
    comm.OnReceiveData = nullptr;
    comm.OnRequestHangup = nullptr;
  }
}

void UnitCommRouter::Bind(u8 k, TComm& comm) {
  ports_[k] = std::make_unique<TCommUnitPort>(comm);
  s_.Port[k] = ports_[k].get();
  comm.OnReceiveData = [this, k](TComm&, std::span<const u8> data) { HandleReceiveData(s_, k, data); };
  comm.OnRequestHangup = [this, k](TComm& sender) {
    HandleHangup(s_, k, list_, sender.CommName(), [&sender] { sender.ClosePort(); });
  };
}

}  // namespace qx
