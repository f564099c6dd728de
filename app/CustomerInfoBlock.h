#pragma once
// The Silergy customer information block: a 192-byte record of the boot and application
// parts of the firmware (length, CRC-32 with the operator's parameters, marker, update count,
// version), written into the main image before Download, Auto and Prog.
#include <array>

#include "app/ImageViews.h"
#include "base/MessageLog.h"
#include "base/Operator.h"
#include "images/ChipModel.h"

namespace qx {

// The texts and check states of the "Cust-Info" page; initial values are the design's.
struct CustomerInfoControls {
  std::string EditSumy = "0xFFFFFFFF";  // image index of the block
  std::string EditBTAS = "0xFFFFFFFF";
  std::string EditBTAE = "0xFFFFFFFF";
  std::string EditAPAS = "0xFFFFFFFF";
  std::string EditAPAE = "0xFFFFFFFF";
  std::string EditBTVER = "0";
  std::string EditBTFS = "0";
  std::string EditAPVER = "0";
  std::string EditAPFS = "0";
  std::string EditPOLY = "0x04C11DB7";
  std::string EditINIV = "0xFFFFFFFF";
  std::string EditXORV = "0xFFFFFFFF";
  bool ChkBoxREFIN = false;
  bool ChkBoxREFOU = false;
  bool ChkBoxPrgInf = false;
};

inline constexpr u32 CustomerInfoBlockSize = 192;
using CustomerInfoBlock = std::array<u8, CustomerInfoBlockSize>;

// One part of the firmware as the block describes it.
struct CustomerInfoPart {
  u32 Length = 0;
  u32 Crc = 0;
  u32 UpdateCount = 0;
  u32 Version = 0;
};

// The block bytes: boot part at offset 0 with "CCUS", application part at 96 with "ccus",
// little-endian words, 0xFF elsewhere.
CustomerInfoBlock MakeCustomerInfoBlock(const CustomerInfoPart& boot, const CustomerInfoPart& app);

// Crc32Params from the polynomial, initial value, final XOR and the two reflection boxes.
// Raises EConvertError for a text that is not an integer.
Crc32Params ReadCrcParameters(const CustomerInfoControls& controls);

enum class CustomerInfoResult : u8 {
  NotRequested,  // "Programming Info Data" unchecked: the command goes on without a block
  Written,       // block written, DownloadSize trimmed, sums and views refreshed
  AddressError,  // reported to the operator; the calling command stops
};

// Builds the block from BootInfoEnd and AppInfoEnd and writes it at EditSumy. The part
// addresses must be ordered, both CRC ranges [start, start + length - 1] and the block must
// lie inside the main flash. Raises EConvertError for a text that is not an integer (the
// command does not start).
CustomerInfoResult BuildCustomerInfoBlock(const CustomerInfoControls& controls, ChipModel& model, MessageLog& log,
                                          Operator& op, WindowActions& actions);

}  // namespace qx
