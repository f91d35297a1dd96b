#pragma once
// The command line of the virtual NC machine.

#include <string>
#include <vector>

namespace kestrovan::ncsim {

enum class SimMode { Receive, Punch, Serve, Operate };
enum class PunchCode { Iso, Eia };

// One thing the operator at the controller does in operate mode.
struct OperateStep {
  enum class Kind { Punch, Read, Pause, Signal };
  Kind kind = Kind::Pause;
  std::string file; // Punch: the program
  int ms = 0;       // Pause
};

struct NcSimOptions {
  SimMode mode = SimMode::Receive;
  bool help = false;

  // Receive: record what the PC sends.
  std::string receiveFile;
  long dc3After = 0;    // send DC3 once this many bytes came in (0: never)
  long dc3Every = 0;    // and again every this many bytes after that (0: once)
  int dc1AfterMs = 500; // the pause before DC1 lets the PC go on
  unsigned char dc3Byte = 0x93;
  bool sendDc1 = true;    // say "ready" with DC1 once the PC opened the line
  int dc1RepeatMs = 1000; // repeat it until the first byte arrives (0: once)
  bool endOnDc4 = true;
  bool endOnPercent = false; // end at a "%" that follows program data
  long stallAfter = 0;       // stop reading after this many bytes (0: never)

  // Punch: send a program to the PC.
  std::string punchFile;
  PunchCode code = PunchCode::Iso;
  int leader = 20;         // leader bytes: blank tape (NUL) in either code
  bool frame = true;       // "%" line before and after the program
  bool dc4 = true;         // DC4 after the last "%"
  bool waitOpen = false;   // punch only once the PC opened the line
  bool waitSignal = false; // punch only after SIGUSR1 (the operator's start key)
  std::string recordFile;  // record what the PC sends meanwhile
  long silentAfter = 0;    // punch only this many bytes of the stream, then nothing (0: all)
  long chunkSeed = 0;      // punch in pieces of random size with short gaps, from this seed (0: at once)

  // Serve: session after session until stopped; each opening of the line by
  // the PC is either a reception into serveDir or the punch of the next of
  // punchFiles (in turn), whichever the PC turns out to want.
  std::string serveDir;
  std::vector<std::string> punchFiles; // every --punch given (punchFile is the first)
  int serveWaitMs = 1500;              // after the first DC1: data by then makes it a reception

  // Operate: a controller on a line that the PC holds open all the time; its
  // operator punches programs and switches the control to input, step by step.
  std::string operateDir; // what each read step received: DIR/read-NNN.bin
  std::vector<OperateStep> steps;
  bool repeat = false;  // the steps again and again until stopped
  int dc4WaitMs = 5000; // after a punch, how long to wait for the PC's DC4
  // Both.
  int startDelayMs = 200; // after the PC opened the line (it purges at opening)
  int baud = 0;           // pace like a line of this speed, 10 bits a character (0: no pacing)
  int idleMs = 0;         // give up after this long without a byte (0: never)
  std::string link;       // a symbolic link to the line, for a fixed device name
  std::string listen;     // [HOST:]PORT: the PC connects over raw TCP instead (TcpBridge.h)
  long hangupAfter = 0;   // close the line after this many bytes punched or received (0: never)
};

struct NcSimParse {
  NcSimOptions options;
  std::string error; // empty when the command line was good
};

NcSimParse parseNcSimOptions(const std::vector<std::string>& args);
std::string ncSimHelp();

} // namespace kestrovan::ncsim
