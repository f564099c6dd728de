#include "serial/LineSettings.h"

#include <sys/ioctl.h>

#include <array>
#include <utility>

#include "serial/CustomBaud.h"
#include "texts/Texts.h"

namespace qx {
namespace {

constexpr std::array<std::pair<u32, speed_t>, 30> kSpeeds = {{
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
}};

tcflag_t Flag(unsigned value) { return static_cast<tcflag_t>(value); }

bool RateHolds(u32 want, u32 got) {
  const u64 off = want > got ? u64{want} - got : u64{got} - want;
  return off * 100 <= u64{want} * LineRateTolerancePercent;
}

void SetModemLine(int fd, int line, bool on) {
  // Failure is expected where there are no modem lines.
  (void)::ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line);
}

}  // namespace

std::optional<speed_t> StandardSpeed(u32 rate) {
  for (const auto& [r, code] : kSpeeds) {
    if (r == rate) return code;
  }
  return std::nullopt;
}

std::optional<u32> SpeedRate(speed_t code) {
  for (const auto& [r, c] : kSpeeds) {
    if (c == code) return r;
  }
  return std::nullopt;
}

void ComposeTermios(const CommSettings& s, termios& t) {
  ::cfmakeraw(&t);
  t.c_iflag &= ~Flag(IXON | IXOFF | IXANY | IUCLC | INPCK | IGNPAR | IMAXBEL);
  t.c_cflag &= ~Flag(CSIZE | CSTOPB | PARENB | PARODD | CMSPAR | CRTSCTS);
  t.c_cflag |= Flag(CLOCAL | CREAD);

  static constexpr std::array<tcflag_t, 4> kSizes = {CS5, CS6, CS7, CS8};
  t.c_cflag |= kSizes[static_cast<std::size_t>(s.ByteSize)];
  if (s.StopBits != TStopBits::_1) t.c_cflag |= Flag(CSTOPB);
  switch (s.Parity) {
    case TParity::None: break;
    case TParity::Odd: t.c_cflag |= Flag(PARENB | PARODD); break;
    case TParity::Even: t.c_cflag |= Flag(PARENB); break;
    case TParity::Mark: t.c_cflag |= Flag(PARENB | CMSPAR | PARODD); break;
    case TParity::Space: t.c_cflag |= Flag(PARENB | CMSPAR); break;
  }
  if (s.ParityCheck) t.c_iflag |= Flag(INPCK);
  if (s.Outx_CtsFlow || s.RtsControl == TRtsControl::RtsHandshake) t.c_cflag |= Flag(CRTSCTS);
  if (s.Outx_XonXoffFlow) t.c_iflag |= Flag(IXON);
  if (s.Inx_XonXoffFlow) t.c_iflag |= Flag(IXOFF);
  t.c_cc[VSTART] = s.XonChar;
  t.c_cc[VSTOP] = s.XoffChar;
  t.c_cc[VMIN] = 1;
  t.c_cc[VTIME] = 0;
}

LineInForce DecodeTermios(const termios& t, u32 baudRate) {
  LineInForce in;
  in.Known = true;
  in.BaudRate = baudRate;
  switch (t.c_cflag & CSIZE) {
    case CS5: in.ByteSize = TByteSize::_5; break;
    case CS6: in.ByteSize = TByteSize::_6; break;
    case CS7: in.ByteSize = TByteSize::_7; break;
    default: in.ByteSize = TByteSize::_8; break;
  }
  in.StopBits = (t.c_cflag & CSTOPB) ? TStopBits::_2 : TStopBits::_1;
  if (!(t.c_cflag & PARENB)) {
    in.Parity = TParity::None;
  } else if (t.c_cflag & CMSPAR) {
    in.Parity = (t.c_cflag & PARODD) ? TParity::Mark : TParity::Space;
  } else {
    in.Parity = (t.c_cflag & PARODD) ? TParity::Odd : TParity::Even;
  }
  in.ParityCheck = (t.c_iflag & INPCK) != 0;
  in.RtsCtsFlow = (t.c_cflag & CRTSCTS) != 0;
  in.Outx_XonXoffFlow = (t.c_iflag & IXON) != 0;
  in.Inx_XonXoffFlow = (t.c_iflag & IXOFF) != 0;
  in.XonChar = t.c_cc[VSTART];
  in.XoffChar = t.c_cc[VSTOP];
  const bool localRaw = !(t.c_lflag & Flag(ECHO | ECHONL | ICANON | ISIG | IEXTEN));
  const bool inputRaw = !(t.c_iflag & Flag(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IUCLC));
  const bool outputRaw = !(t.c_oflag & Flag(OPOST));
  in.Raw = localRaw && inputRaw && outputRaw;
  return in;
}

void ApplyLineSettingsTo(int fd, const CommSettings& s) {
  termios t{};
  if (::tcgetattr(fd, &t) != 0) return;
  ComposeTermios(s, t);
  const auto code = StandardSpeed(s.BaudRate);
  if (code) {
    ::cfsetispeed(&t, *code);
    ::cfsetospeed(&t, *code);
  }
  (void)::tcsetattr(fd, TCSANOW, &t);
  if (!code) (void)SetCustomBaud(fd, s.BaudRate);

  switch (s.DtrControl) {
    case TDtrControl::DtrEnable: SetModemLine(fd, TIOCM_DTR, true); break;
    case TDtrControl::DtrDisable: SetModemLine(fd, TIOCM_DTR, false); break;
    case TDtrControl::DtrHandshake: break;
  }
  switch (s.RtsControl) {
    case TRtsControl::RtsEnable:
    case TRtsControl::RtsTransmissionAvailable: SetModemLine(fd, TIOCM_RTS, true); break;
    case TRtsControl::RtsDisable: SetModemLine(fd, TIOCM_RTS, false); break;
    case TRtsControl::RtsHandshake: break;
  }
}

LineInForce ExpectedLineInForce(const CommSettings& s) {
  termios t{};
  ComposeTermios(s, t);
  return DecodeTermios(t, s.BaudRate);
}

bool LineHolds(const LineInForce& want, const LineInForce& got) {
  return got.Known && RateHolds(want.BaudRate, got.BaudRate) && got.ByteSize == want.ByteSize &&
         got.Parity == want.Parity && got.StopBits == want.StopBits && got.RtsCtsFlow == want.RtsCtsFlow &&
         got.Outx_XonXoffFlow == want.Outx_XonXoffFlow && got.Inx_XonXoffFlow == want.Inx_XonXoffFlow;
}

std::optional<std::string> LineRefusal(const LineInForce& want, const LineInForce& got) {
  if (LineHolds(want, got)) return std::nullopt;
  return Tx(TextId::CommReasonLineRefused, LineSummary(want), LineSummary(got));
}

std::string LineSummary(const LineInForce& line) {
  static constexpr std::array<char, 5> kParity = {'N', 'O', 'E', 'M', 'S'};
  std::string text = std::to_string(line.BaudRate) + ' ';
  text += static_cast<char>('5' + static_cast<int>(line.ByteSize));
  text += kParity[static_cast<std::size_t>(line.Parity)];
  text += line.StopBits == TStopBits::_1 ? '1' : '2';
  if (line.RtsCtsFlow) text += " RTS/CTS";
  if (line.Outx_XonXoffFlow) text += " XON";
  if (line.Inx_XonXoffFlow) text += " XOFF";
  return text;
}

LineInForce ReadLineInForce(int fd) {
  termios t{};
  if (::tcgetattr(fd, &t) != 0) return {};
  u32 rate = ReadOutputBaud(fd).value_or(SpeedRate(::cfgetospeed(&t)).value_or(0));
  return DecodeTermios(t, rate);
}

}  // namespace qx
