#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "programmer/AutoChain.h"
#include "programmer/CommandCodes.h"
#include "programmer/DownloadChain.h"
#include "programmer/OnlineChains.h"
#include "programmer/ResultCode.h"
#include "programmer/UnitStepFramework.h"
#include "tests/programmer/session_fixture.h"
#include "texts/Texts.h"

namespace qx::test {
namespace {

std::vector<u8> Report(u8 phase, u8 result, u16 current, u16 total, bool balanced = true) {
  std::vector<u8> p = {0xFD, phase, result, static_cast<u8>(current), static_cast<u8>(current >> 8),
                       static_cast<u8>(total), static_cast<u8>(total >> 8), 0, 0, 0};
  u8 sum = 0;
  for (int i = 0; i < 7; ++i) sum = static_cast<u8>(sum + p[i]);
  p[7] = static_cast<u8>(balanced ? 0x100 - sum : 0x55);
  return Framed(p);
}

TEST(ProgressReport, ProgramPhaseLogsOnceAndMovesTheGauge) {
  SessionWorld w;
  w.Feed(3, Report(0x40, 6, 0, 256));
  EXPECT_EQ(w.U(3).Gauge.Progress, 2);
  EXPECT_EQ(w.U(3).Gauge.Max, 256);
  EXPECT_EQ(w.LastLine(), SessionWorld::UnitLine(3, "Do Main Flash Programming...."));
  w.Feed(3, Report(0x40, 6, 10, 256));
  EXPECT_EQ(w.U(3).Gauge.Progress, 12);
  EXPECT_EQ(w.Lines().size(), 1u);
}

TEST(ProgressReport, CompletionCountsGoodAndBadRuns) {
  SessionWorld w;
  w.Feed(0, Report(0xF0, 6, 0, 0));
  w.Feed(0, Report(0xF0, 0x15, 0, 0));
  EXPECT_EQ(w.U(0).OkCount, 1);
  EXPECT_EQ(w.U(0).NgCount, 1);
  EXPECT_EQ(w.UnitTexts(0), (std::vector<std::string>{"Progrmming Completed : Successed !", "OK=1, NG=0.",
                                                      "Progrmming Completed : Failed : Error=0x15!", "OK=1, NG=1."}));
  EXPECT_EQ(w.U(0).Gauge.State, GaugeState::Failed);
  EXPECT_EQ(w.U(0).Gauge.Progress, w.U(0).Gauge.Max);
}

TEST(ProgressReport, UnbalancedOrUnknownReportsChangeNothingAndNoStepEnds) {
  SessionWorld w;
  StartBlankCheck(*w.s, 1);
  const auto lines = w.Lines().size();
  const auto gauge = w.U(1).Gauge;
  w.Feed(1, Report(0xF0, 6, 0, 0, false));
  w.Feed(1, Report(0x60, 6, 0, 0));
  EXPECT_EQ(w.Lines().size(), lines);
  EXPECT_EQ(w.U(1).Gauge.Progress, gauge.Progress);
  EXPECT_EQ(w.U(1).OkCount, 0);
  w.Feed(1, Report(0x10, 6, 0, 0));  // an empty line, then the phase line
  EXPECT_EQ(w.Lines()[lines], "");
  EXPECT_EQ(w.U(1).StepState, StepBlankCheck);
  EXPECT_EQ(w.U(1).Busy, 1);
}

TEST(Dispatch, UndecodableFrameFailsTheUnitEvenWhenIdle) {
  SessionWorld w;
  const std::vector<u8> bad = {0xC0, 0xDB, 0x41, 1, 2, 3, 4, 5, 6, 7, 8, 0xC0};
  w.Feed(7, bad);
  EXPECT_EQ(w.LastLine(), SessionWorld::UnitLine(7, "Packet Error!"));
  EXPECT_EQ(w.U(7).Gauge.State, GaugeState::Failed);
}

// A bad frame ends the unit's step once: what the window sees is one end of step and one
// line, in a running step as in an idle unit.
TEST(Dispatch, ABadFrameEndsItsStepOnce) {
  const std::vector<u8> badEscape = {0xC0, 0xDB, 0x41, 1, 2, 3, 4, 5, 6, 7, 8, 0xC0};
  const std::vector<u8> tooShort = {0xC0, 1, 2, 3, 0xC0};
  // A good reply with an escape left open before its closing delimiter.
  const std::vector<u8> openEscape = [] {
    std::vector<u8> f = StatusReply(6);
    f.insert(std::find(f.begin() + 1, f.end(), u8{0xC0}), u8{0xDB});
    return f;
  }();
  for (const auto* frame : {&badEscape, &tooShort, &openEscape}) {
    for (const bool running : {true, false}) {
      SessionWorld w;
      if (running) StartErase(*w.s, 2, "x");
      const std::size_t lines = w.Lines().size();
      w.Feed(2, *frame);
      const auto ends = w.op.Ends(2);
      ASSERT_EQ(ends.size(), 1u) << running;
      EXPECT_FALSE(ends[0].ok);
      EXPECT_EQ(ends[0].step, running ? StepErase : StepIdle);
      EXPECT_EQ(w.Lines().size(), lines + 1) << running;
      EXPECT_EQ(w.LastLine(), SessionWorld::UnitLine(2, "Packet Error!"));
      EXPECT_EQ(w.U(2).Busy, 0);
    }
  }
}

TEST(Dispatch, CheckMismatchReachesTheHandlerAs35) {
  SessionWorld w;
  StartErase(*w.s, 0, "x");
  auto frame = StatusReply(6);
  frame[frame.size() - 7] ^= 0x01;  // last check byte (not a special byte here)
  w.Feed(0, frame);
  EXPECT_EQ(w.LastLine(), SessionWorld::UnitLine(0, "Opertaion Failed! Error Code : 035/0x23."));
}

// A reply is its eight header bytes, its payload and a check word. One without a payload
// byte has no status: read as one, byte 8 of a ten-byte reply is its check word, and a
// check word that begins with 0 or 6 passed for success. One shorter than ten bytes has no
// room for a check word beside its header: bytes 6..7 then served as both length and
// check, and a value above 2 made it a data reply, 0, success.
TEST(Dispatch, AReplyWithoutItsStatusByteOrCheckWordIsAPacketError) {
  struct Case {
    std::size_t length;
    u16 declared;
    u8 checkLow;  // for ten bytes: the check word's first byte
  };
  const Case cases[] = {{10, 0, 0}, {10, 0, 6}, {10, 2, 0}, {10, 2, 6}, {8, 0, 0}, {9, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.length << " bytes, length " << c.declared << ", " << int{c.checkLow});
    std::vector<u8> p;
    bool found = false;
    for (u32 param = 0; param <= 0xFFFF && !found; ++param) {
      p = {0x06, static_cast<u8>(param), static_cast<u8>(param >> 8), 0, 0, 0, 0, 0};
      if (c.length == 10) {
        PutLe16(p, 6, c.declared);
        p.resize(10);
        PutLe16(p, 8, CalcCheck16(std::span<const u8>(p).first(8)));
        found = p[8] == c.checkLow;
      } else {
        // The check word over all bytes before it, standing where the length is read.
        p.resize(c.length);
        PutLe16(p, c.length - 2, CalcCheck16(std::span<const u8>(p).first(c.length - 2)));
        found = GetLe16(p, 6) > 2;
      }
    }
    ASSERT_TRUE(found);
    SessionWorld w;
    StartErase(*w.s, 4, "x");
    w.Feed(4, Framed(p));
    const auto ends = w.op.Ends(4);
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_FALSE(ends[0].ok);
    EXPECT_EQ(w.LastLine(), SessionWorld::UnitLine(4, "Packet Error!"));
  }
}

// Downloads, blank check, erase, programming and the option write ask the unit for a status:
// a data reply (here 4096 bytes, as a read answers) is no "done". It ends the step as a
// packet error instead of passing for an acknowledged request.
TEST(Dispatch, StatusStepsTakeNoDataReplyForDone) {
  using Step = std::function<void(UnitSessions&, u8)>;
  const struct {
    const char* name;
    Step start;
  } steps[] = {
      {"chip data", StartDownloadChipData}, {"driver", StartDownloadDriver},
      {"download main", StartDownloadMain}, {"download data flash", StartDownloadEep},
      {"blank check", StartBlankCheck},     {"automatic chain", StartAutoProgram},
      {"erase", [](UnitSessions& s, u8 k) { StartErase(s, k, "x"); }},
      {"program main", StartProgramMain},   {"program data flash", StartProgramEep},
      {"option write", StartWriteOption},
  };
  const std::vector<u8> data(4096, ResAck);
  for (const auto& step : steps) {
    SCOPED_TRACE(step.name);
    SessionWorld w;
    w.model->Params.DownloadSize = 0x3000;
    w.model->Params.EepSize = 0x3000;
    w.U(6).AutoChain = 1;
    step.start(*w.s, 6);
    ASSERT_EQ(w.ports[6].packets.size(), 1u);
    w.Feed(6, DataReply(data));
    const auto ends = w.op.Ends(6);
    EXPECT_EQ(ends.size(), 1u);
    EXPECT_FALSE(!ends.empty() && ends[0].ok);
    EXPECT_EQ(w.LastLine(), SessionWorld::UnitLine(6, "Packet Error!"));
    EXPECT_EQ(w.ports[6].packets.size(), 1u);
    EXPECT_EQ(w.s->DownloadOkCount, 0);
  }
}

// A unit that answers a request twice: the second answer was in the buffer before the next
// request went out, so it cannot be that request's answer. Taken for it, every later answer
// would be matched to the request after its own, and the last answer, a failure here, would
// find the step already ended as a success. A progress report there still counts.
TEST(Routing, AnAnswerReceivedBeforeTheRequestWentOutIsNotItsAnswer) {
  const auto twice = [] {
    auto c = StatusReply(ResAck);
    const auto again = StatusReply(ResAck);
    c.insert(c.end(), again.begin(), again.end());
    return c;
  }();
  const struct {
    const char* name;
    std::vector<std::vector<u8>> chunks;
  } cases[] = {
      {"twice in one chunk", {twice}},
      {"the second cut over two chunks", {std::vector<u8>(twice.begin(), twice.begin() + 22),
                                          std::vector<u8>(twice.begin() + 22, twice.end())}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SessionWorld w;
    w.model->Params.DownloadSize = 0x2000;  // two packets
    StartProgramMain(*w.s, 3);
    for (const auto& chunk : c.chunks) w.Feed(3, chunk);
    EXPECT_EQ(w.ports[3].packets.size(), 2u);
    EXPECT_EQ(w.U(3).Busy, 1);
    w.Status(3, ResFlashError);  // the second packet's own answer
    const auto ends = w.op.Ends(3);
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_FALSE(ends[0].ok);
    EXPECT_EQ(w.UnitTexts(3).back(), "Flash Memory Error!");
  }
  SessionWorld w;
  StartErase(*w.s, 3, "x");
  auto chunk = StatusReply(ResAck);
  const std::vector<u8> report = {0xFD, 0xF0, 6, 0, 0, 0, 0, static_cast<u8>(0x200 - 0xFD - 0xF0 - 6), 0, 0};
  const auto r = Framed(report);
  chunk.insert(chunk.end(), r.begin(), r.end());
  w.U(3).AutoChain = 1;  // the erase goes on with the programming
  w.Feed(3, chunk);
  EXPECT_EQ(w.U(3).OkCount, 1);
  EXPECT_EQ(w.U(3).StepState, StepProgramMain);

  // A frame that cannot be decoded ends the step, whenever it came.
  SessionWorld g;
  g.model->Params.DownloadSize = 0x2000;
  StartProgramMain(*g.s, 3);
  auto garbled = StatusReply(ResAck);
  garbled.insert(garbled.end(), {0xC0, 1, 2, 3, 0xDB, 0x00, 0xC0});
  g.Feed(3, garbled);
  const auto ends = g.op.Ends(3);
  ASSERT_EQ(ends.size(), 1u);
  EXPECT_FALSE(ends[0].ok);
  EXPECT_EQ(g.UnitTexts(3).back(), "Packet Error!");
}

TEST(Routing, AReplyInThreeChunksIsDispatchedOnceWhenComplete) {
  SessionWorld w;
  StartErase(*w.s, 0, "x");
  const auto frame = StatusReply(6);
  w.Feed(0, std::span<const u8>(frame).first(3));
  w.Feed(0, std::span<const u8>(frame).subspan(3, 4));
  EXPECT_EQ(w.U(0).Busy, 1);
  w.Feed(0, std::span<const u8>(frame).subspan(7));
  EXPECT_EQ(w.U(0).Busy, 0);
  EXPECT_EQ(w.LastLine(), SessionWorld::UnitLine(0, "Chip has been erased!"));
}

TEST(Routing, FillerWaitsAndEveryChunkReArmsTheTimeout) {
  SessionWorld w;
  w.U(2).TimeoutTicks = 3;
  const std::vector<u8> ff(5, 0xFF);
  w.Feed(2, ff);
  EXPECT_EQ(w.wire->Units[2].RxCount, 5);
  EXPECT_EQ(w.U(2).TimeoutTicks, 1000);
  StartErase(*w.s, 2, "x");
  w.Status(2, 6);
  EXPECT_EQ(w.U(2).Busy, 0);
}

TEST(Routing, IdentificationThenReportInOneChunkGoToTheirOwnPaths) {
  SessionWorld w;
  w.U(0).Linked = 0;
  std::vector<u8> id = {0xA3, 0xA5, 0x35, 0, 0, 0, 0, 0};
  const std::string text = "QX740VRD V2.4,x";
  id.resize(28, 0);
  id.insert(id.end(), text.begin(), text.end());
  PutLe16(id, 6, static_cast<u16>(text.size() - 1));
  auto chunk = Framed(id);
  const std::vector<u8> report = {0xFD, 0x20, 6, 0, 0, 0, 0, static_cast<u8>(0x300 - 0xFD - 0x20 - 6), 0, 0};
  const auto r = Framed(report);
  chunk.insert(chunk.end(), r.begin(), r.end());
  w.Feed(0, chunk);
  EXPECT_EQ(w.U(0).Linked, 1);
  EXPECT_EQ(w.UnitTexts(0), (std::vector<std::string>{"Find Device: QX740VRD V2.4,x!", "Chip Blank Checking...."}));
}

TEST(Routing, FramesOfAUnitWaitingInTheMismatchQuestionAreHeldBackOthersGoOn) {
  SessionWorld w;
  auto& p = w.model->Params;
  p.MainFlashStart = 0;
  p.MainFlashEnd = 0x1FFF;
  p.DownloadSize = 0x2000;
  StartVerifyMain(*w.s, 0);
  StartErase(*w.s, 1, "x");
  std::vector<u8> chip(w.model->MainFlashImage.begin(), w.model->MainFlashImage.begin() + 4096);
  chip[5] ^= 1;
  int asked = 0;
  std::size_t packetsOfUnit0AtAsk = 0;
  std::vector<u8> nextBlock(w.model->MainFlashImage.begin() + 4096, w.model->MainFlashImage.begin() + 8192);
  w.op.answers = {MsgAnswer::Yes};
  // The question runs the event loop: a reply of unit 1 and another frame of unit 0 arrive.
  struct AskingOperator : RecordingOperator {
    std::function<void()> during;
    MsgAnswer Ask(MsgKind kind, std::string_view text, MsgButtons buttons) override {
      if (during) during();
      return RecordingOperator::Ask(kind, text, buttons);
    }
  };
  AskingOperator op;
  UnitSessions s2(*w.model, *w.wire, w.random, w.log, op);
  for (u8 k = 0; k < 2; ++k) {
    s2.Port[k] = &w.ports[k];
    s2.Unit[k] = w.s->Unit[k];
  }
  op.during = [&] {
    ++asked;
    packetsOfUnit0AtAsk = w.ports[0].packets.size();
    HandleReceiveData(s2, 1, StatusReply(6));
    HandleReceiveData(s2, 0, DataReply(nextBlock));
    EXPECT_EQ(s2.Unit[0].StepState, StepVerifyMain);  // not dispatched yet
    EXPECT_EQ(s2.Unit[1].Busy, 0);                      // unit 1 went on
  };
  HandleReceiveData(s2, 0, DataReply(chip));
  EXPECT_EQ(asked, 1);
  // After the handler reported the mismatch, the held frame found the unit idle and was dropped.
  EXPECT_EQ(s2.Unit[0].StepState, StepIdle);
  EXPECT_EQ(w.ports[0].packets.size(), packetsOfUnit0AtAsk);
  EXPECT_EQ(w.LastLine(), SessionWorld::UnitLine(0, "Data Verify error!"));
  EXPECT_EQ(s2.Hold[0].HeldCount, 0);
  EXPECT_EQ(w.wire->Units[0].RxCount, FrameFillerBytes);  // only the filler behind the last frame
}

// While a unit's reply handler waits in a question, its further bytes are held; what does
// not fit in the hold is dropped, counted, and reported in one line when routing resumes.
TEST(Routing, BytesAFullHoldDropsAreCountedAndLoggedOnce) {
  SessionWorld w;
  auto& p = w.model->Params;
  p.MainFlashStart = 0;
  p.MainFlashEnd = 0x1FFF;
  p.DownloadSize = 0x2000;
  struct AskingOperator : RecordingOperator {
    std::function<void()> during;
    MsgAnswer Ask(MsgKind kind, std::string_view text, MsgButtons buttons) override {
      if (during) during();
      return RecordingOperator::Ask(kind, text, buttons);
    }
  };
  AskingOperator op;
  op.answers = {MsgAnswer::Abort};
  UnitSessions s2(*w.model, *w.wire, w.random, w.log, op);
  s2.Port[0] = &w.ports[0];
  s2.Unit[0].Linked = 1;
  StartVerifyMain(s2, 0);
  std::vector<u8> chip(w.model->MainFlashImage.begin(), w.model->MainFlashImage.begin() + 4096);
  chip[5] ^= 1;
  const std::vector<u8> filler(RxBufferSize - 100, 0xFF);
  op.during = [&] {
    HandleReceiveData(s2, 0, filler);   // fits
    HandleReceiveData(s2, 0, filler);   // all but 100 dropped
    HandleReceiveData(s2, 0, std::vector<u8>(50, 0xFF));  // dropped
  };
  HandleReceiveData(s2, 0, DataReply(chip));
  const std::string line = SessionWorld::UnitLine(
      0, Tx(TextId::UnitHeldBytesDropped, static_cast<u32>(filler.size() - 100 + 50)));
  EXPECT_EQ(std::count(w.Lines().begin(), w.Lines().end(), line), 1);
  EXPECT_EQ(s2.Hold[0].Dropped, 0u);
  // The next chunk routes as usual and logs nothing more.
  const std::size_t lines = w.Lines().size();
  HandleReceiveData(s2, 0, std::vector<u8>(3, 0xFF));
  EXPECT_EQ(w.Lines().size(), lines);
}

TEST(Routing, AHandlerThatThrowsDoesNotMuteItsUnit) {
  SessionWorld w;
  StartErase(*w.s, 0, "x");
  bool fail = true;
  w.op.onLogLine = [&](const std::string&) {
    if (fail) {
      fail = false;
      throw std::runtime_error("window error");
    }
  };
  EXPECT_THROW(w.Status(0, 6), std::runtime_error);
  // The reply that failed was consumed: the next erase ends on its own reply, not on it.
  StartErase(*w.s, 0, "x");
  const std::vector<u8> filler(1, 0xFF);
  w.Feed(0, filler);
  EXPECT_EQ(w.U(0).Busy, 1);
  const auto lines = w.Lines().size();
  w.Status(0, 6);
  EXPECT_EQ(w.U(0).Busy, 0);
  EXPECT_EQ(w.Lines().size(), lines + 1);
  EXPECT_EQ(w.LastLine(), SessionWorld::UnitLine(0, "Chip has been erased!"));
}

TEST(Hangup, ClosesUnlinksAndDropsTheEntry) {
  SessionWorld w;
  PortList list;
  list.Entries = {"/dev/a", "/dev/b", "/dev/c"};
  int closed = 0;
  HandleHangup(*w.s, 2, list, "", [&] { ++closed; });
  EXPECT_EQ(closed, 1);
  EXPECT_EQ(w.U(2).Linked, 0);
  EXPECT_EQ(list.Entries, (std::vector<std::string>{"/dev/a", "/dev/b"}));
  HandleHangup(*w.s, 5, list, "", nullptr);  // no such position
  EXPECT_EQ(list.Entries.size(), 2u);
  HandleHangup(*w.s, 0, list, "/dev/b", nullptr);  // by name: the list may have shifted
  EXPECT_EQ(list.Entries, (std::vector<std::string>{"/dev/a"}));
  HandleHangup(*w.s, 0, list, "/dev/a", nullptr);
  EXPECT_TRUE(list.Entries.empty());
  EXPECT_EQ(list.Text, "Please Connect device......");
  EXPECT_EQ(w.U(0).Busy, 0);
}

}  // namespace
}  // namespace qx::test
