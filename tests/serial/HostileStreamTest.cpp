// Whatever an NC (or a line full of noise) sends, a reception ends, writes
// only inside the data folder, and leaves no working copy behind. Seeded
// random streams, so that a failure can be run again.

#include "ReceiveHarness.h"
#include "platform/Paths.h"
#include "support/FakePorts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

using namespace kestrovan;

namespace {

// Mostly what NCs send, with the control bytes, parity bytes and junk that
// noise brings.
std::string noisyStream(std::mt19937& rng) {
  static const std::string likely = "%%%\n\n\n\nOOO::LLG01XYZ.-+()#[]=&F W$/*,;'\"<>?@!_^ 0123456789";
  std::uniform_int_distribution<int> length(0, 3000), kind(0, 9), any(0, 255);
  std::uniform_int_distribution<std::size_t> pick(0, likely.size() - 1);
  std::string s;
  const int n = length(rng);
  for (int i = 0; i < n; ++i) {
    switch (kind(rng)) {
    case 0: {
      const char c = static_cast<char>(any(rng));
      if (c != '\x14') s += c; // an end of data of its own comes last, at times
      break;
    }
    case 1: s += static_cast<char>("\x11\x12\x13\x93\r\0\x7f"[any(rng) % 7]); break;
    default: s += likely[pick(rng)]; break;
    }
  }
  if (kind(rng) < 3) s += '\x14';
  return s;
}

struct HostileReception : ::testing::Test, test::ReceiveHarness {
  test::FakePorts ports;
  serial::Line line{settings, ports, screen, dialogs};
  int silentReads = 0;

  void SetUp() override {
    settings.Port = "COM1";
    // Once the stream is used up, a few quiet seconds and the operator stops.
    ports.wire.onRead = [this] {
      if (ports.wire.incoming.empty() && ++silentReads > 100) screen.base.pressStopKey();
    };
  }
};

} // namespace

TEST_F(HostileReception, EveryStreamEndsInsideTheDataFolderWithoutWorkingCopies) {
  std::mt19937 rng(20261209);
  std::uniform_int_distribution<int> coin(0, 1), code(0, 4);
  int receptions = 0;
  int ends[3] = {0, 0, 0}; // completed, stopped, failed
  for (int round = 0; round < 150; ++round) {
    SCOPED_TRACE(round);
    settings.R_Code = code(rng);
    settings.Read_SP_Cut = coin(rng) ? "Y" : "N";
    settings.O_Change = coin(rng) ? "Y" : "N";
    settings.Add_No = coin(rng) ? "Y" : "N";
    settings.StartChar = coin(rng) ? "Y" : "N";
    settings.EndChar = coin(rng) ? "Y" : "N";
    settings.op5 = coin(rng) ? "Y" : "N";
    const std::string stream = noisyStream(rng);
    ports.wire.incoming.assign(stream.begin(), stream.end());
    silentReads = 0;
    const serial::ReceiveOutcome o =
        receive(line, coin(rng) ? serial::SaveMode::ByName : serial::SaveMode::PerProgramNumber, "R.NC");
    ++receptions;
    ++ends[static_cast<int>(o.end)];
    EXPECT_FALSE(screen.base.failsafeTripped);
    for (const auto& e : std::filesystem::directory_iterator(data.path())) {
      EXPECT_TRUE(e.is_regular_file()) << e.path();
      EXPECT_NE(e.path().extension(), ".part") << e.path();
    }
    if (o.end == serial::ReceiveEnd::Failed && !o.keptPartialFile.empty()) {
      EXPECT_EQ(platform::parentFolder(o.keptPartialFile), data.path());
    }
    // Everything goes for the next round.
    for (const auto& e : std::filesystem::directory_iterator(data.path()))
      std::filesystem::remove_all(e.path());
  }
  EXPECT_EQ(logEntries().size(), static_cast<std::size_t>(receptions));
  // The streams reach every end, not just the first one.
  for (int end : ends)
    EXPECT_GT(end, 10) << ends[0] << " " << ends[1] << " " << ends[2];
}
