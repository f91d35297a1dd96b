// The real main window (offscreen) sending and receiving program after
// program through its keys, with the folder watch on: F1 on a program row
// sends it to a virtual NC in serve mode, then F2 and N receive the next
// program the NC punches, saved per program number. Resident memory and open
// file descriptors are printed at the start, every 100 transfers and at the
// end; each sent and saved program is checked against the first of its kind.
//
//   kestrovan-endurance [TRANSFERS]   (default 1000; a send and a reception
//                                      count as one transfer each)
//
// Exits 1 when a transfer went wrong, memory grew by 10 MB or more, or
// descriptors were left open.

#include "core/StartedForm.h"
#include "support/Keyboard.h"
#include "support/NcSimProcess.h"

#include <QLabel>

#include <cstdio>
#include <dirent.h>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <vector>

using namespace kestrovan;
namespace keyboard = kestrovan::test::keyboard;

namespace {

long residentKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

int openDescriptors() {
  int n = 0;
  if (DIR* d = ::opendir("/proc/self/fd")) {
    while (dirent* e = ::readdir(d))
      if (e->d_name[0] != '.') ++n;
    ::closedir(d);
    --n; // the listing's own
  }
  return n;
}

void report(const char* when, int transfers) {
  std::printf("%-6s transfers %5d  resident %7.1f MB  descriptors %d\n", when, transfers,
              residentKb() / 1024.0, openDescriptors());
  std::fflush(stdout);
}

// The row of `name` in the list, -1 when it is not listed.
int rowOf(test::StartedForm& s, const QString& name) {
  const std::vector<QString>& rows = s.list()->rows();
  for (std::size_t i = 0; i < rows.size(); ++i)
    if (rows[i].contains(name)) return static_cast<int>(i);
  return -1;
}

// The return to idle that follows every transfer (its one-shot timer).
void settleAfterTransfer() { QTest::qWait(3300); }

} // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int transfers = argc > 1 ? std::atoi(argv[1]) : 1000;
  int failures = 0;
  {
    test::StartedForm s;
    const std::string serveDir = s.home.file("nc");
    ::mkdir(serveDir.c_str(), 0700);
    const std::string punched = s.home.file("punch.nc");
    test::writeFile(punched, "%\nO2001(ENDURANCE)\nG90G54G00X0Y0\nG01Z-5.F100\nX40.Y30.\nM30\n%\n");
    test::writeFile(s.data.file("SEND.NC"), "%\r\nO1001(SEND)\r\nG00X1.Y2.\r\nG01Z-1.F50\r\nM30\r\n%\r\n");
    test::NcSimProcess nc(KESTROVAN_NCSIM, {"--serve", serveDir, "--punch", punched, "--serve-wait-ms", "500",
                                            "--start-delay-ms", "50", "--dc1-repeat-ms", "200"});
    if (nc.path().empty()) {
      std::fprintf(stderr, "kestrovan-endurance: the virtual NC did not start\n");
      return 1;
    }
    test::writeFile(s.files().settingsPath,
                    "[Ports]\r\nCOM1=" + nc.path() +
                        "\r\n[Setting]\r\nPort=COM1\r\nSpeed=19200,8,N,2\r\nStartChar=Y\r\nEndChar=Y\r\n");
    s.start({}, true);
    settleAfterTransfer();

    // A first send and reception, not counted, load what every transfer
    // uses once (fonts of the transfer panel, the codec, the line's buffers).
    constexpr int kWarmUp = 2;
    long startKb = 0;
    int startFds = 0;
    std::string firstSent, firstSaved;
    int sends = 0, receptions = 0;
    for (int done = -kWarmUp; done < transfers; ++done) {
      if (done == 0) {
        startKb = residentKb();
        startFds = openDescriptors();
        report("start", 0);
      }
      if (done % 2 == 0) {
        const int row = rowOf(s, "SEND");
        if (row < 0) {
          std::fprintf(stderr, "transfer %d: SEND.NC is not listed\n", done + 1);
          ++failures;
          break;
        }
        s.list()->selectRow(row);
        keyboard::press(Qt::Key_F1); // the whole send
        if (!nc.waitFor("RECEIVED", 20000, sends)) {
          std::fprintf(stderr, "transfer %d: the NC received nothing\n", done + 1);
          ++failures;
        }
        char name[32];
        std::snprintf(name, sizeof name, "/received-%03d.nc", sends + 1);
        const std::string sent = test::readFile(serveDir + name);
        if (firstSent.empty()) firstSent = sent;
        if (sent.empty() || sent != firstSent) {
          std::fprintf(stderr, "transfer %d: the NC got other bytes (%s)\n", done + 1, name);
          ++failures;
        }
        ++sends;
      } else {
        ::unlink(s.data.file("O2001_001.NC").c_str());
        keyboard::press(Qt::Key_F2);
        keyboard::press(Qt::Key_N); // per program number: the whole reception
        const std::string saved = test::readFile(s.data.file("O2001_001.NC"));
        if (firstSaved.empty()) firstSaved = saved;
        if (saved.empty() || saved != firstSaved) {
          std::fprintf(stderr, "transfer %d: O2001_001.NC holds other bytes (%zu); message line: %s\n",
                       done + 1, saved.size(), s.find<QLabel>("Label11")->text().toStdString().c_str());
          ++failures;
        }
        ++receptions;
      }
      settleAfterTransfer();
      if (done >= 0 && (done + 1) % 100 == 0 && done + 1 < transfers) report("", done + 1);
    }
    report("end", transfers);
    const long grownKb = residentKb() - startKb;
    const int leakedFds = openDescriptors() - startFds;
    std::printf("sends %d, receptions %d (with %d to warm up), failures %d, resident memory grew %.1f MB, "
                "descriptors %+d\n",
                sends, receptions, kWarmUp, failures, grownKb / 1024.0, leakedFds);
    if (grownKb >= 10 * 1024 || leakedFds > 0) ++failures;
  }
  return failures == 0 ? 0 : 1;
}
