// The folder watch on the real main window, with real files changed by this
// process and by others.
#include "files/ui/ListToolsOperations.h"
#include "files/ui/RenameForms.h"

#include "FileListFixture.h"
#include "FileOpsWindow.h"
#include "StartedForm.h"
#include "WatchHelpers.h"
#include "base/SettingsRecord.h"
#include "support/Keyboard.h"

#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <sys/stat.h>

using namespace kestrovan;

namespace {

struct Watch {
  test::StartedForm& s;
  int reads = 0; // folder reads of the list since counting began
  int listener = 0;

  ~Watch() {
    if (listener && s.window) s.form->fileList().dropFolderListener(listener);
  }

  files::FolderWatcher& watcher() {
    return s.window->operation<files::ListToolsOperations>()->folderWatcher();
  }
  void countReads() {
    listener = s.form->fileList().onFolderRead([this](const std::string&) { ++reads; });
  }
  bool listed(const std::string& name) const {
    for (const files::FileEntry& f : s.form->fileList().files())
      if (f.name == name) return true;
    return false;
  }
  std::string selectedName() const {
    const files::FileEntry* e = s.form->fileList().entryAt(s.list()->selectedRow());
    return e ? e->name : std::string();
  }
  void select(const std::string& name) {
    for (int r = 0; r < static_cast<int>(s.form->fileList().rows().size()); ++r)
      if (const files::FileEntry* e = s.form->fileList().entryAt(r); e && e->name == name)
        s.list()->selectRow(r);
    ASSERT_EQ(selectedName(), name);
  }
  // Until a change has started the refresh timer and it has run out.
  bool tickPassed() {
    QTimer* timer = watcher().refreshTimer();
    return QTest::qWaitFor([&] { return timer->isActive(); }, 5000) &&
           QTest::qWaitFor([&] { return !timer->isActive(); }, 5000);
  }
};

// Another program creates a file: touch, started as its own process.
void touchFromOutside(const std::string& path) {
  ASSERT_EQ(QProcess::execute("touch", {QString::fromStdString(path)}), 0);
}

// The window started on a data folder holding these programs.
void startWith(test::StartedForm& s, std::initializer_list<const char*> names) {
  for (const char* name : names)
    test::writeFile(s.data.file(name), "%\r\n");
  s.start();
}

} // namespace

TEST(FolderWatchWindow, AFileCreatedByAnotherProgramAppearsWithTheSelectionKept) {
  test::StartedForm s;
  startWith(s, {"B.NC", "C.NC", "D.NC"});
  Watch w{s};
  ASSERT_TRUE(w.watcher().watcher().watching());
  w.select("C.NC");
  touchFromOutside(s.data.file("A.NC")); // sorts in front of the selected file
  ASSERT_TRUE(QTest::qWaitFor([&] { return w.listed("A.NC"); }, 5000));
  EXPECT_EQ(w.selectedName(), "C.NC");

  // Gone again, by another program too.
  ASSERT_EQ(QProcess::execute("rm", {QString::fromStdString(s.data.file("A.NC"))}), 0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !w.listed("A.NC"); }, 5000));
  EXPECT_EQ(w.selectedName(), "C.NC");
}

TEST(FolderWatchWindow, TenFilesWithinHalfASecondMakeOneRefreshAndContentsAloneNone) {
  test::StartedForm s;
  startWith(s, {"O1.NC"});
  Watch w{s};
  w.countReads();

  // Contents, time and permissions of a listed file change: no refresh.
  test::writeFile(s.data.file("O1.NC"), "%\r\nO1\r\nM30\r\n%\r\n");
  files::test::setTime(s.data.file("O1.NC"), files::test::kFileTime);
  ASSERT_EQ(chmod(s.data.file("O1.NC").c_str(), 0444), 0);
  QTest::qWait(2 * files::FolderWatcher::kRefreshDelayMs);
  EXPECT_EQ(w.reads, 0);
  EXPECT_FALSE(w.watcher().refreshTimer()->isActive());

  for (int n = 0; n < 10; ++n)
    test::writeFile(s.data.file("N" + std::to_string(n) + ".NC"), "%\r\n");
  ASSERT_TRUE(QTest::qWaitFor([&] { return s.form->fileList().files().size() == 11u; }, 5000));
  QTest::qWait(2 * files::FolderWatcher::kRefreshDelayMs);
  EXPECT_EQ(w.reads, 1);
}

TEST(FolderWatchWindow, AChangeDuringARenameOfMarkedFilesDoesNotRebuildTheListBeforeTheRenameEnds) {
  test::FileOpsWindow s;
  std::vector<std::string> names;
  // Thirty files at the rename's pause of 100 ms each: three seconds, well
  // over the watch's second even when its first notice comes late.
  constexpr int kFiles = 30;
  for (int n = 0; n < kFiles; ++n) {
    names.push_back("o" + std::to_string(1000 + n) + ".nc");
    test::writeFile(s.data.file(names.back()), "%\r\n");
  }
  s.open();
  Watch w{s};
  s.mark(names);
  s.select(names.back());
  w.countReads();
  // While the rename runs (a pause after each file, so well over the
  // watch's second), its own renames and a file from elsewhere start the
  // watch's timer; its tick must leave the list and its marks alone.
  QTimer* timer = w.watcher().refreshTimer();
  bool tickedWhileBusy = false, timerSeen = false, extraWritten = false;
  int readsWhileBusy = 0, fewestMarks = kFiles;
  QTimer probe;
  QObject::connect(&probe, &QTimer::timeout, [&] {
    if (!s.form->fileList().busy()) return;
    if (!extraWritten) {
      test::writeFile(s.data.file("EXTRA.NC"), "%\r\n");
      extraWritten = true;
    }
    if (timer->isActive()) timerSeen = true;
    if (timerSeen && !timer->isActive()) tickedWhileBusy = true;
    readsWhileBusy = w.reads;
    fewestMarks = std::min(fewestMarks, s.form->fileList().marks().count());
  });
  probe.start(20);
  test::whenShown<files::TRenameMultiForm>(s.form, [](files::TRenameMultiForm* f) {
    f->findChild<QRadioButton*>("RadioButton2")->setChecked(true); // upper case
    f->findChild<QPushButton*>("Button1")->click();
  });
  test::keyboard::press(Qt::Key_R);
  probe.stop();
  EXPECT_TRUE(tickedWhileBusy);
  EXPECT_EQ(readsWhileBusy, 0);
  EXPECT_EQ(fewestMarks, kFiles);
  // The rename's own refresh at its end shows all of it.
  EXPECT_FALSE(s.form->fileList().busy());
  EXPECT_TRUE(w.listed("O1029.NC"));
  EXPECT_TRUE(w.listed("EXTRA.NC"));
  EXPECT_FALSE(w.listed("o1000.nc"));
}

TEST(FolderWatchWindow, AfterEnteringASubfolderAFileCreatedThereAppears) {
  test::FileOpsWindow s;
  files::test::makeFolder(s.data.file("SUB"));
  test::writeFile(s.data.file("TOP.NC"), "%\r\n");
  s.open();
  Watch w{s};
  ASSERT_EQ(s.form->fileList().rowKind(1), files::RowKind::Folder);
  s.list()->selectRow(1);
  test::keyboard::press(Qt::Key_Return);
  ASSERT_EQ(s.form->settings().DirPath, s.data.file("SUB"));
  EXPECT_EQ(w.watcher().watcher().folder(), s.data.file("SUB"));
  w.countReads();

  // The folder left says nothing; the one entered does.
  touchFromOutside(s.data.file("OLD.NC"));
  touchFromOutside(s.data.file("SUB/NEW.NC"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return w.listed("NEW.NC"); }, 5000));
  QTest::qWait(2 * files::FolderWatcher::kRefreshDelayMs);
  EXPECT_EQ(w.reads, 1);

  // Back up with "..": the top folder is watched again.
  s.list()->selectRow(0);
  test::keyboard::press(Qt::Key_Return);
  ASSERT_EQ(s.form->settings().DirPath, s.data.path());
  ASSERT_TRUE(w.listed("OLD.NC"));
  touchFromOutside(s.data.file("TOP2.NC"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return w.listed("TOP2.NC"); }, 5000));

  // Into the subfolder again by the folder prompt (F5).
  test::keyboard::press(Qt::Key_F5);
  test::keyboard::type("/SUB");
  test::keyboard::press(Qt::Key_Return);
  ASSERT_EQ(s.form->settings().DirPath, s.data.file("SUB"));
  touchFromOutside(s.data.file("SUB/BY_PROMPT.NC"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return w.listed("BY_PROMPT.NC"); }, 5000));
}

TEST(FolderWatchWindow, AThousandChangesOfFolderHoldOneInstanceAndTheWindowsEndReleasesIt) {
  const std::vector<int> before = files::test::inotifyInstances();
  {
    test::StartedForm s;
    files::test::makeFolder(s.data.file("A"));
    files::test::makeFolder(s.data.file("B"));
    s.start();
    Watch w{s};
    for (int i = 0; i < 1000; ++i) {
      s.form->settings().DirPath = s.data.file(i % 2 == 0 ? "A" : "B");
      s.form->refreshFileList({});
    }
    const std::vector<int> during = files::test::inotifyInstances();
    ASSERT_EQ(during.size(), before.size() + 1);
    int watches = 0;
    for (int n : during)
      watches += n;
    for (int n : before)
      watches -= n;
    EXPECT_EQ(watches, 1);
    touchFromOutside(s.data.file("B/LAST.NC"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.listed("LAST.NC"); }, 5000));
    s.form->close();
  }
  // The window has gone: its watcher's thread was stopped and its instance closed.
  EXPECT_EQ(files::test::inotifyInstances().size(), before.size());
}

TEST(FolderWatchWindow, AFolderThatGoesAndComesBackIsWatchedOnceTheListReadsItAgain) {
  test::StartedForm s;
  const std::string sub = s.data.file("SUB");
  files::test::makeFolder(sub);
  s.start();
  Watch w{s};
  s.form->settings().DirPath = sub;
  s.form->refreshFileList({});
  ASSERT_TRUE(w.watcher().watcher().watching());
  ASSERT_EQ(rmdir(sub.c_str()), 0);
  // The list is told (its folder went) and the watch ends without a word.
  ASSERT_TRUE(w.tickPassed());
  EXPECT_FALSE(w.watcher().watcher().watching());
  EXPECT_TRUE(s.dialogs.shown.empty());

  ASSERT_EQ(mkdir(sub.c_str(), 0755), 0);
  test::keyboard::press(Qt::Key_Space); // the operator looks again
  EXPECT_TRUE(w.watcher().watcher().watching());
  touchFromOutside(sub + "/BACK.NC");
  ASSERT_TRUE(QTest::qWaitFor([&] { return w.listed("BACK.NC"); }, 5000));
}
