#pragma once
// Low-latency mode of a USB serial adapter: without it an adapter holds a short reply for
// its latency timer (16 ms on common chips), and a stop-and-wait protocol with 12-byte
// replies loses most of the line rate to that wait.
namespace qx {

// Asks the driver for low-latency mode; true when it is in force afterwards. Drivers
// without the request (pseudo-terminals among them) say no, which is harmless.
bool RequestLowLatency(int fd);

}  // namespace qx
