#pragma once
// Line settings as termios: what a component's properties become on a POSIX terminal, and
// what the driver reports back.
#include <termios.h>

#include <optional>
#include <string>

#include "serial/CommSettings.h"

namespace qx {

// Raw mode with the framing and flow control of s; the speed is not touched. Properties
// without a POSIX counterpart (DSR flow and sensitivity, DTR handshake, the XON/XOFF
// limits, continue-on-XOFF, the replacement character) have no effect here.
void ComposeTermios(const CommSettings& s, termios& t);

std::optional<speed_t> StandardSpeed(u32 rate);
std::optional<u32> SpeedRate(speed_t code);

LineInForce DecodeTermios(const termios& t, u32 baudRate);

// Applies everything, the speed and the DTR/RTS lines included. A refusal is not an
// error (pseudo-terminals have no modem lines); ReadLineInForce shows what holds.
void ApplyLineSettingsTo(int fd, const CommSettings& s);
LineInForce ReadLineInForce(int fd);

// What a driver that takes every setting of s reports back.
LineInForce ExpectedLineInForce(const CommSettings& s);
// How far the rate in force may lie from the rate asked for, in per cent: what a UART
// tolerates, and some USB adapters report the rate they reach, not the one asked for.
inline constexpr u32 LineRateTolerancePercent = 2;
// True when got holds the framing and flow control that want asks for exactly, and its rate
// within the tolerance: what a driver may refuse (the raw mode and the characters are the
// terminal layer's own).
bool LineHolds(const LineInForce& want, const LineInForce& got);
// The reason an open gives up when the line does not hold: both lines in full.
std::optional<std::string> LineRefusal(const LineInForce& want, const LineInForce& got);
// The line in a message: rate and framing ("1000000 8N2"), then the flow control in force
// (" RTS/CTS", " XON", " XOFF").
std::string LineSummary(const LineInForce& line);

}  // namespace qx
