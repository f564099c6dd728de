#pragma once
// Writers of the two scrambled files the program loads: a flash-driver file (".KDV") and
// the programmer firmware file ("QX740VRD.FWR"). They build valid files by default; tests
// corrupt the bytes afterwards.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tests/unitsim/SimSlip.h"

namespace qx::sim {

struct DriverSegment {
  std::uint16_t Offset = 0;  // from the start of the file
  std::uint16_t Length = 0;
};

struct DriverFileSpec {
  std::uint16_t BodyLength = 256;
  std::array<std::uint8_t, 16> Key = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88,
                                      0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0x01, 0x7F};
  // Entries at file offsets 32, 36, 40, 44, 48: blank check, checksum read, erase,
  // programming, option write / common.
  std::array<DriverSegment, 5> Segments = {{{64, 16}, {80, 16}, {96, 16}, {112, 32}, {144, 48}}};
  std::uint8_t BodySeed = 0x5A;  // body byte i is BodySeed + 7 * i
};

// The plain (descrambled) file and its scrambled form as stored.
Bytes MakePlainDriverFile(const DriverFileSpec& spec);
Bytes ScrambleDriverFile(Bytes plain);
Bytes MakeDriverFile(const DriverFileSpec& spec);

// The stem of the driver file of a chip name by the program's table; empty for none.
std::string_view DriverStemFor(std::string_view chipName);

struct FirmwareFileSpec {
  std::string Version = "V2.4";         // up to 8 bytes, zero-padded
  std::uint16_t EndAddress = 0x13FF;
  Bytes Image;                          // plain firmware; its size is the byte count
  std::uint16_t MaskWord = 0x5AA5;
  std::uint32_t KeySeed = 12345;
};

Bytes MakeFirmwareFile(const FirmwareFileSpec& spec);

bool WriteBytesFile(const std::string& path, const Bytes& bytes);

}  // namespace qx::sim
