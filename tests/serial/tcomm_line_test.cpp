#include <gtest/gtest.h>
#include <termios.h>

#include <vector>

#include "serial/LineEvents.h"
#include "serial/LineSettings.h"
#include "tests/serial/CommFixture.h"

namespace qx {
namespace {

class TCommLine : public test::CommOnPty {
 protected:
  termios MasterView() {
    // On a pseudo-terminal the master reports the slave's settings.
    termios t{};
    EXPECT_EQ(::tcgetattr(pty.master(), &t), 0);
    return t;
  }
};

TEST(TCommProperties, ConstructorDefaultsAndTheProgrammerPreset) {
  PumpedEventQueue queue;
  TComm comm(queue);
  EXPECT_EQ(comm.CommName(), "COM2");
  EXPECT_EQ(comm.BaudRate(), 9600u);
  EXPECT_FALSE(comm.ParityCheck());
  EXPECT_FALSE(comm.Outx_CtsFlow());
  EXPECT_FALSE(comm.Outx_DsrFlow());
  EXPECT_EQ(comm.DtrControl(), TDtrControl::DtrEnable);
  EXPECT_FALSE(comm.DsrSensitivity());
  EXPECT_TRUE(comm.TxContinueOnXoff());
  EXPECT_TRUE(comm.Outx_XonXoffFlow());
  EXPECT_TRUE(comm.Inx_XonXoffFlow());
  EXPECT_FALSE(comm.ReplaceWhenParityError());
  EXPECT_FALSE(comm.IgnoreNullChar());
  EXPECT_EQ(comm.RtsControl(), TRtsControl::RtsEnable);
  EXPECT_EQ(comm.XonLimit(), 500);
  EXPECT_EQ(comm.XoffLimit(), 500);
  EXPECT_EQ(comm.ByteSize(), TByteSize::_8);
  EXPECT_EQ(comm.Parity(), TParity::None);
  EXPECT_EQ(comm.StopBits(), TStopBits::_1);
  EXPECT_EQ(comm.XonChar(), 17);
  EXPECT_EQ(comm.XoffChar(), 19);
  EXPECT_EQ(comm.ReplacedChar(), 0);
  EXPECT_EQ(comm.ReadIntervalTimeout(), 100u);
  EXPECT_EQ(comm.ReadTotalTimeoutMultiplier(), 0u);
  EXPECT_EQ(comm.ReadTotalTimeoutConstant(), 0u);
  EXPECT_EQ(comm.WriteTotalTimeoutMultiplier(), 0u);
  EXPECT_EQ(comm.WriteTotalTimeoutConstant(), 0u);
  EXPECT_FALSE(comm.IsOpen());

  SetProgrammerLinePreset(comm);
  EXPECT_EQ(comm.CommName(), "COM2");
  EXPECT_EQ(comm.BaudRate(), 1000000u);
  EXPECT_EQ(comm.DtrControl(), TDtrControl::DtrDisable);
  EXPECT_EQ(comm.RtsControl(), TRtsControl::RtsDisable);
  EXPECT_FALSE(comm.TxContinueOnXoff());
  EXPECT_FALSE(comm.Outx_XonXoffFlow());
  EXPECT_FALSE(comm.Inx_XonXoffFlow());
  EXPECT_EQ(comm.StopBits(), TStopBits::_2);
  EXPECT_EQ(comm.ReadIntervalTimeout(), 3u);
  EXPECT_EQ(comm.XonLimit(), 500);
  EXPECT_EQ(comm.ByteSize(), TByteSize::_8);
}

TEST_F(TCommLine, PresetReadsBackAsRawOneMegabaudEightDataBitsTwoStopBits) {
  Open();
  const termios t = MasterView();
  EXPECT_EQ(::cfgetospeed(&t), static_cast<speed_t>(B1000000));
  EXPECT_EQ(::cfgetispeed(&t), static_cast<speed_t>(B1000000));
  EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_NE(t.c_cflag & CSTOPB, 0u);
  EXPECT_EQ(t.c_cflag & (PARENB | CRTSCTS), 0u);
  EXPECT_NE(t.c_cflag & CREAD, 0u);
  EXPECT_NE(t.c_cflag & CLOCAL, 0u);
  EXPECT_EQ(t.c_lflag & (ECHO | ECHONL | ICANON | ISIG | IEXTEN), 0u);
  EXPECT_EQ(t.c_iflag & (ICRNL | INLCR | IGNCR | ISTRIP | IXON | IXOFF | IXANY | INPCK), 0u);
  EXPECT_EQ(t.c_oflag & OPOST, 0u);

  const LineInForce& in = comm.InForce();
  EXPECT_TRUE(in.Known);
  EXPECT_EQ(in.BaudRate, 1000000u);
  EXPECT_EQ(in.ByteSize, TByteSize::_8);
  EXPECT_EQ(in.Parity, TParity::None);
  EXPECT_EQ(in.StopBits, TStopBits::_2);
  EXPECT_FALSE(in.Outx_XonXoffFlow);
  EXPECT_FALSE(in.Inx_XonXoffFlow);
  EXPECT_FALSE(in.RtsCtsFlow);
  EXPECT_TRUE(in.Raw);
}

TEST_F(TCommLine, EveryByteValuePassesBothWaysUnchanged) {
  Open();
  std::vector<u8> all(256);
  for (std::size_t i = 0; i < all.size(); ++i) all[i] = static_cast<u8>(i);

  ASSERT_TRUE(comm.WriteData(all));
  EXPECT_EQ(pty.ReadExactly(all.size()), all);
  EXPECT_TRUE(pty.ReadFor(std::chrono::milliseconds(50)).empty());  // nothing added

  ASSERT_TRUE(pty.WriteAll(all));
  PumpUntil([&] { return events.received.size() >= all.size(); });
  PumpFor(std::chrono::milliseconds(50));
  EXPECT_EQ(events.received, all);
}

TEST_F(TCommLine, SettersReapplyOnlyARealChangeAndParityWaitsForTheNextApplication) {
  Open();
  // Something else changes the line behind the component's back; only a real change of a
  // property puts the component's settings back.
  termios foreign = MasterView();
  foreign.c_lflag |= ECHO;
  ASSERT_EQ(::tcsetattr(pty.master(), TCSANOW, &foreign), 0);

  comm.SetBaudRate(1000000);
  comm.SetStopBits(TStopBits::_2);
  comm.SetReadIntervalTimeout(3);
  EXPECT_NE(MasterView().c_lflag & ECHO, 0u);

  comm.SetBaudRate(115200);
  termios t = MasterView();
  EXPECT_EQ(t.c_lflag & ECHO, 0u);
  EXPECT_EQ(::cfgetospeed(&t), static_cast<speed_t>(B115200));
  EXPECT_EQ(comm.InForce().BaudRate, 115200u);

  // Parity has no setter: a new value waits for the next application.
  foreign = MasterView();
  foreign.c_lflag |= ECHO;
  ASSERT_EQ(::tcsetattr(pty.master(), TCSANOW, &foreign), 0);
  comm.SetParity(TParity::Even);
  EXPECT_NE(MasterView().c_lflag & ECHO, 0u);
  comm.SetStopBits(TStopBits::_1);
  t = MasterView();
  EXPECT_EQ(t.c_lflag & ECHO, 0u);
  EXPECT_EQ(t.c_cflag & CSTOPB, 0u);
  EXPECT_EQ(comm.InForce().StopBits, TStopBits::_1);
}

TEST_F(TCommLine, SettingsTheDriverRefusesWhileOpenStayVisibleInWhatIsInForce) {
  // A pseudo-terminal keeps 8 data bits and no parity whatever it is asked for. At open
  // that is an error; a setter on the open port leaves it to what is in force.
  Open();
  comm.SetParity(TParity::Even);
  comm.SetByteSize(TByteSize::_7);
  EXPECT_EQ(comm.Parity(), TParity::Even);
  EXPECT_EQ(comm.ByteSize(), TByteSize::_7);
  EXPECT_EQ(comm.InForce().Parity, TParity::None);
  EXPECT_EQ(comm.InForce().ByteSize, TByteSize::_8);
  // The port goes on working.
  const std::vector<u8> bytes = {0xFF, 0x80};
  ASSERT_TRUE(comm.WriteData(bytes));
  EXPECT_EQ(pty.ReadExactly(bytes.size()), bytes);
}

TEST_F(TCommLine, RatesWithoutAConstantAreSetThroughTheKernelsArbitraryRate) {
  comm.SetBaudRate(250000);
  Open();
  EXPECT_EQ(comm.InForce().BaudRate, 250000u);
  comm.SetBaudRate(1000000);
  EXPECT_EQ(comm.InForce().BaudRate, 1000000u);
  comm.SetBaudRate(123457);
  EXPECT_EQ(comm.InForce().BaudRate, 123457u);
}

TEST_F(TCommLine, IgnoreNullCharDropsZeroBytesFromWhatIsReceived) {
  Open();
  comm.SetIgnoreNullChar(true);
  const std::vector<u8> in = {'a', 0, 'b', 0, 0, 'c'};
  ASSERT_TRUE(pty.WriteAll(in));
  PumpUntil([&] { return events.received.size() >= 3; });
  EXPECT_EQ(events.received, (std::vector<u8>{'a', 'b', 'c'}));
}

TEST(SerialLineSettings, ComposedTermiosDecodesToTheSameFraming) {
  struct Case {
    TByteSize size;
    TParity parity;
    TStopBits stop;
    bool cts;
    TRtsControl rts;
    bool xonOut;
    bool xonIn;
    bool parityCheck;
  };
  const Case cases[] = {
      {TByteSize::_8, TParity::None, TStopBits::_2, false, TRtsControl::RtsDisable, false, false, false},
      {TByteSize::_5, TParity::Odd, TStopBits::_1, false, TRtsControl::RtsEnable, true, false, true},
      {TByteSize::_6, TParity::Even, TStopBits::_1, true, TRtsControl::RtsEnable, false, true, false},
      {TByteSize::_7, TParity::Mark, TStopBits::_2, false, TRtsControl::RtsHandshake, true, true, false},
      {TByteSize::_8, TParity::Space, TStopBits::_2, false, TRtsControl::RtsTransmissionAvailable, false, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.size) * 100 + static_cast<int>(c.parity) * 10 + static_cast<int>(c.stop));
    CommSettings s;
    s.ByteSize = c.size;
    s.Parity = c.parity;
    s.StopBits = c.stop;
    s.Outx_CtsFlow = c.cts;
    s.RtsControl = c.rts;
    s.Outx_XonXoffFlow = c.xonOut;
    s.Inx_XonXoffFlow = c.xonIn;
    s.ParityCheck = c.parityCheck;
    s.XonChar = 0x21;
    s.XoffChar = 0x22;
    termios t{};
    t.c_lflag = ECHO | ICANON;
    t.c_iflag = ICRNL | IXANY;
    t.c_oflag = OPOST | ONLCR;
    ComposeTermios(s, t);
    const LineInForce in = DecodeTermios(t, 1000000);
    EXPECT_EQ(in.ByteSize, c.size);
    EXPECT_EQ(in.Parity, c.parity);
    EXPECT_EQ(in.StopBits, c.stop);
    EXPECT_EQ(in.RtsCtsFlow, c.cts || c.rts == TRtsControl::RtsHandshake);
    EXPECT_EQ(in.Outx_XonXoffFlow, c.xonOut);
    EXPECT_EQ(in.Inx_XonXoffFlow, c.xonIn);
    EXPECT_EQ(in.ParityCheck, c.parityCheck);
    EXPECT_EQ(in.XonChar, 0x21);
    EXPECT_EQ(in.XoffChar, 0x22);
    EXPECT_TRUE(in.Raw);
    EXPECT_EQ(t.c_iflag & IXANY, 0u);
    EXPECT_NE(t.c_cflag & (CLOCAL | CREAD), 0u);
  }
  // One and a half stop bits has no POSIX form: it reads back as two.
  CommSettings s;
  s.StopBits = TStopBits::_1_5;
  termios t{};
  ComposeTermios(s, t);
  EXPECT_EQ(DecodeTermios(t, 9600).StopBits, TStopBits::_2);
}

TEST(SerialLineSettings, StandardRatesHaveTheirConstantsOthersHaveNone) {
  EXPECT_EQ(StandardSpeed(1000000), std::optional<speed_t>(B1000000));
  EXPECT_EQ(StandardSpeed(9600), std::optional<speed_t>(B9600));
  EXPECT_EQ(StandardSpeed(250000), std::nullopt);
  EXPECT_EQ(StandardSpeed(0), std::nullopt);
  EXPECT_EQ(SpeedRate(B115200), std::optional<u32>(115200));
}

// The open's verdict on what the driver kept of 1,000,000 baud 8N2 without flow control:
// the rate may lie within 2 % (what a UART tolerates; some USB adapters report the rate they
// reach), data bits, parity, stop bits and flow control must be as asked; a refusal names
// both lines, the rate in force among them.
TEST(SerialLineSettings, TheRateInForceMayLieWithinTwoPerCentTheFramingMustBeExact) {
  CommSettings s;
  s.BaudRate = 1000000;
  s.StopBits = TStopBits::_2;
  s.Outx_XonXoffFlow = false;
  s.Inx_XonXoffFlow = false;
  s.RtsControl = TRtsControl::RtsDisable;
  const LineInForce want = ExpectedLineInForce(s);
  const struct {
    const char* name;
    void (*change)(LineInForce&);
    const char* inForce;  // refused: the line in force as the message shows it
  } cases[] = {
      {"as asked", [](LineInForce&) {}, nullptr},
      {"1 % slow", [](LineInForce& l) { l.BaudRate = 990000; }, nullptr},
      {"1 % fast", [](LineInForce& l) { l.BaudRate = 1010000; }, nullptr},
      {"2 % slow", [](LineInForce& l) { l.BaudRate = 980000; }, nullptr},
      {"2 % fast", [](LineInForce& l) { l.BaudRate = 1020000; }, nullptr},
      {"just over 2 % fast", [](LineInForce& l) { l.BaudRate = 1020001; }, "1020001 8N2"},
      {"5 % slow", [](LineInForce& l) { l.BaudRate = 950000; }, "950000 8N2"},
      {"5 % fast", [](LineInForce& l) { l.BaudRate = 1050000; }, "1050000 8N2"},
      {"no rate", [](LineInForce& l) { l.BaudRate = 0; }, "0 8N2"},
      {"7 data bits", [](LineInForce& l) { l.ByteSize = TByteSize::_7; }, "1000000 7N2"},
      {"even parity", [](LineInForce& l) { l.Parity = TParity::Even; }, "1000000 8E2"},
      {"one stop bit", [](LineInForce& l) { l.StopBits = TStopBits::_1; }, "1000000 8N1"},
      {"RTS/CTS", [](LineInForce& l) { l.RtsCtsFlow = true; }, "1000000 8N2 RTS/CTS"},
      {"1 % off and 7 data bits", [](LineInForce& l) { l.BaudRate = 990000; l.ByteSize = TByteSize::_7; }, "990000 7N2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LineInForce got = want;
    c.change(got);
    const auto refusal = LineRefusal(want, got);
    EXPECT_EQ(LineHolds(want, got), c.inForce == nullptr);
    if (c.inForce == nullptr) {
      EXPECT_FALSE(refusal.has_value()) << *refusal;
    } else {
      ASSERT_TRUE(refusal.has_value());
      EXPECT_EQ(*refusal, std::string("The driver refused the line settings: asked 1000000 8N2, in force ") + c.inForce + ".");
    }
  }
  LineInForce unknown = want;
  unknown.Known = false;
  EXPECT_TRUE(LineRefusal(want, unknown).has_value());
}

TEST(SerialLineEvents, CounterChangesBecomeErrorFlagsAndModemBits) {
  struct Case {
    u32 LineCounters::*counter;
    u32 errorFlags;
    u32 modemBits;
  };
  const Case cases[] = {
      {&LineCounters::bufOverrun, 0x01, 0}, {&LineCounters::overrun, 0x02, 0}, {&LineCounters::parity, 0x04, 0},
      {&LineCounters::frame, 0x08, 0},      {&LineCounters::brk, 0x10, 0},     {&LineCounters::dcd, 0, 8},
      {&LineCounters::rng, 0, 4},
  };
  const LineCounters before{3, 3, 3, 3, 3, 3, 3};
  for (const auto& c : cases) {
    LineCounters after = before;
    after.*c.counter += 2;
    const LineEventReport r = CompareLineCounters(before, after);
    EXPECT_EQ(r.errorFlags, c.errorFlags);
    EXPECT_EQ(r.modemBits, c.modemBits);
  }
  LineCounters both = before;
  both.dcd++;
  both.rng++;
  EXPECT_EQ(CompareLineCounters(before, both).modemBits, 12u);
  EXPECT_EQ(CompareLineCounters(before, before).errorFlags, 0u);
  EXPECT_EQ(CompareLineCounters(before, before).modemBits, 0u);
}

}  // namespace
}  // namespace qx
