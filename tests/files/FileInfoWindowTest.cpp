// The file information dialog (I) on the real main window, driven by keys,
// on real files.
#include "files/ui/FileInfoForm.h"

#include "FileListFixture.h"
#include "StartedForm.h"
#include "support/Keyboard.h"
#include "support/Samples.h"
#include "support/WrittenPrograms.h"

#include <QCheckBox>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMimeDatabase>
#include <QPushButton>

#include <sys/stat.h>

using namespace kestrovan;
using files::test::modeOf;
using files::test::mtimeOf;

namespace {

struct Info {
  test::StartedForm& s;

  files::TFileInfoForm* dialog() const { return s.form->findChild<files::TFileInfoForm*>("FileInfoForm"); }
  std::string label(const char* name) const {
    return dialog()->findChild<QLabel*>(name)->text().toStdString();
  }
  QCheckBox* box(const char* name) const { return dialog()->findChild<QCheckBox*>(name); }
  QPushButton* update() const { return dialog()->findChild<QPushButton*>("InfoUpdate"); }
  QLineEdit* field(int i) const { return dialog()->timeField(i); }

  int rowOf(const std::string& name) const {
    for (int r = 0; r < static_cast<int>(s.form->fileList().rows().size()); ++r)
      if (const files::FileEntry* e = s.form->fileList().entryAt(r); e && e->name == name) return r;
    return -1;
  }
  void select(const std::string& name) {
    const int row = rowOf(name);
    ASSERT_GE(row, 0) << name;
    s.list()->selectRow(row);
  }
  void open(const std::string& name) {
    select(name);
    test::keyboard::press(Qt::Key_I);
    ASSERT_TRUE(dialog()->isVisible()) << name;
  }
  // Replaces a time field's text by typing, then presses Enter in it.
  void enterField(int i, const char* text) {
    field(i)->setFocus();
    field(i)->selectAll();
    test::keyboard::type(text);
    test::keyboard::press(Qt::Key_Return);
  }
  void setField(int i, const char* text) {
    field(i)->setFocus();
    field(i)->selectAll();
    test::keyboard::type(text);
  }
  void pressUpdate() {
    update()->setFocus();
    test::keyboard::press(Qt::Key_Space);
  }
};

// An icon theme of the given icons, made for the test and used while it
// lives, so that what the desktop has for a type is known.
class IconTheme {
public:
  explicit IconTheme(std::initializer_list<const char*> icons) {
    test::writeFile(dir_.file("index.theme"), "[Icon Theme]\nName=Test\nDirectories=32\n\n[32]\nSize=32\n");
    ::mkdir(dir_.file("32").c_str(), 0755);
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::red);
    for (const char* icon : icons)
      image.save(QString::fromStdString(dir_.file(std::string("32/") + icon + ".png")));
    paths_ = QIcon::themeSearchPaths();
    name_ = QIcon::themeName();
    QIcon::setThemeSearchPaths({QString::fromStdString(dir_.path())});
    QIcon::setThemeName("Test");
  }
  ~IconTheme() {
    QIcon::setThemeSearchPaths(paths_);
    QIcon::setThemeName(name_);
  }

private:
  test::TempDir dir_;
  QStringList paths_;
  QString name_;
};

std::string comment(const char* mimeType) {
  return QMimeDatabase().mimeTypeForName(mimeType).comment().toStdString();
}

bool hasIcon(const Info& i) { return !i.dialog()->findChild<QLabel*>("InfoIcon")->pixmap().isNull(); }

} // namespace

TEST(FileInfoWindow, ShowsTheFileItsTypePlaceSizeAttributesAndTimeWithUpdateDisabled) {
  files::test::TokyoTime tokyo;
  test::StartedForm s;
  files::test::makeFile(s.data.file("O1234.NC"), 1024);
  s.start();
  Info i{s};
  i.open("O1234.NC");
  EXPECT_EQ(i.dialog()->windowTitle(), "ﾌｧｲﾙ情報");
  EXPECT_TRUE(i.dialog()->isModal());
  EXPECT_EQ(i.label("InfoName"), "O1234.NC");
  EXPECT_EQ(i.label("InfoType"), "種類 :　　　NC ﾌｧｲﾙ");
  EXPECT_EQ(i.label("InfoPlace"), "場所 :　　　" + s.data.path() + "/");
  EXPECT_EQ(i.label("InfoSize"), "サイズ :　　1.000KB (1,024ﾊﾞｲﾄ)");
  EXPECT_FALSE(i.box("InfoReadOnly")->isChecked());
  EXPECT_TRUE(i.box("InfoReadOnly")->isEnabled());
  for (const char* name : {"InfoHidden", "InfoSystem", "InfoArchive"}) {
    EXPECT_FALSE(i.box(name)->isChecked()) << name;
    EXPECT_FALSE(i.box(name)->isEnabled()) << name;
  }
  const char* expected[] = {"2024", "05", "06", "16", "08", "08"}; // 16:08:09 shown in two-second steps
  for (int f = 0; f < 6; ++f)
    EXPECT_EQ(i.field(f)->text().toStdString(), expected[f]) << f;
  EXPECT_FALSE(i.update()->isEnabled());

  // 終了 (Enter on it straight away) closes without a change.
  test::keyboard::press(Qt::Key_Return);
  EXPECT_FALSE(i.dialog()->isVisible());
  EXPECT_EQ(mtimeOf(s.data.file("O1234.NC")), files::test::kFileTime);
  EXPECT_EQ(modeOf(s.data.file("O1234.NC")), 0644u);
}

TEST(FileInfoWindow, SizesIn64BitsAFolderAHiddenNameAndTheParentRow) {
  test::StartedForm s;
  files::test::makeFile(s.data.file("A1023.NC"), 1023);
  files::test::makeFile(s.data.file("A1MB.NC"), 1048576);
  files::test::makeFile(s.data.file("BIG.NC"), 5ULL * 1024 * 1024 * 1024); // sparse
  files::test::makeFile(s.data.file(".hidden.NC"), 1);
  files::test::makeFolder(s.data.file("SUB"));
  s.start();
  Info i{s};
  const std::pair<const char*, const char*> sizes[] = {
      {"A1023.NC", "サイズ :　　1023ﾊﾞｲﾄ"},
      {"A1MB.NC", "サイズ :　　1024.000KB (1,048,576ﾊﾞｲﾄ)"},
      {"BIG.NC", "サイズ :　　5.000GB (5,368,709,120ﾊﾞｲﾄ)"},
  };
  for (const auto& [name, line] : sizes) {
    i.open(name);
    EXPECT_EQ(i.label("InfoSize"), line);
    i.dialog()->reject();
  }

  i.open(".hidden.NC");
  EXPECT_TRUE(i.box("InfoHidden")->isChecked());
  EXPECT_FALSE(i.box("InfoHidden")->isEnabled());
  i.dialog()->reject();

  i.open("SUB");
  EXPECT_EQ(i.label("InfoType"), "種類 :　　　ﾌｧｲﾙ ﾌｫﾙﾀﾞ");
  EXPECT_EQ(i.label("InfoSize"), "サイズ :　　0");
  i.dialog()->reject();

  // The ".." row opens nothing.
  ASSERT_EQ(s.form->fileList().rowKind(0), files::RowKind::Parent);
  s.list()->selectRow(0);
  test::keyboard::press(Qt::Key_I);
  EXPECT_FALSE(i.dialog()->isVisible());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(FileInfoWindow, ReadOnlyTickedAndUpdateTakesTheOwnersWriteBitAndKeepsTheFileSelected) {
  test::StartedForm s;
  for (const char* name : {"A.NC", "B.NC", "C.NC"})
    files::test::makeFile(s.data.file(name), 10);
  ASSERT_EQ(chmod(s.data.file("B.NC").c_str(), 0664), 0);
  s.start();
  Info i{s};
  i.open("B.NC");
  i.box("InfoReadOnly")->setFocus();
  test::keyboard::press(Qt::Key_Space);
  EXPECT_TRUE(i.box("InfoReadOnly")->isChecked());
  EXPECT_TRUE(i.update()->isEnabled());
  i.pressUpdate();
  EXPECT_FALSE(i.dialog()->isVisible());
  EXPECT_EQ(modeOf(s.data.file("B.NC")), 0464u);
  EXPECT_EQ(mtimeOf(s.data.file("B.NC")), files::test::kFileTime); // the time was left alone
  EXPECT_EQ(s.form->fileList().entryAt(s.list()->selectedRow())->name, "B.NC");
  EXPECT_TRUE(s.dialogs.shown.empty());

  // And back: the box shows the state, unticking gives the bit back.
  i.open("B.NC");
  EXPECT_TRUE(i.box("InfoReadOnly")->isChecked());
  i.box("InfoReadOnly")->setFocus();
  test::keyboard::press(Qt::Key_Space);
  i.pressUpdate();
  EXPECT_EQ(modeOf(s.data.file("B.NC")), 0664u);
}

TEST(FileInfoWindow, OutOfRangeFieldsAreRefusedWithTheirMessagesOnEnterAndOnUpdateAndNothingIsWritten) {
  files::test::TokyoTime tokyo;
  test::StartedForm s;
  const std::string path = s.data.file("O1.NC");
  files::test::makeFile(path, 10);
  s.start();
  Info i{s};
  i.open("O1.NC");
  const std::tuple<int, const char*, const char*> refused[] = {
      {0, "1969", "年数は1970以降でお願いします。"}, {1, "0", "１から１２までしか入力出来ません"},
      {1, "13", "１から１２までしか入力出来ません"}, {3, "24", "０から２３までしか入力出来ません"},
      {4, "60", "０から５９までしか入力出来ません"},
  };
  for (const auto& [field, text, message] : refused) {
    const std::size_t before = s.dialogs.shown.size();
    i.enterField(field, text);
    ASSERT_EQ(s.dialogs.shown.size(), before + 1) << text;
    EXPECT_EQ(s.dialogs.shown.back().title, "確認");
    EXPECT_EQ(s.dialogs.shown.back().text, message);
    EXPECT_EQ(s.dialogs.shown.back().icon, base::MessageIcon::Stop);
    EXPECT_EQ(QApplication::focusWidget(), i.field(field)) << text; // the focus stays
    // 更新 checks again and stops at the same field.
    i.pressUpdate();
    EXPECT_TRUE(i.dialog()->isVisible());
    EXPECT_EQ(s.dialogs.shown.back().text, message);
    EXPECT_EQ(QApplication::focusWidget(), i.field(field));
    i.setField(field, field == 0 ? "2024" : field == 1 ? "05" : "08");
  }
  EXPECT_EQ(mtimeOf(path), files::test::kFileTime);

  // Letters never get in; an empty field is passed over by Enter but not by 更新.
  i.field(5)->setFocus();
  i.field(5)->selectAll();
  test::keyboard::type("a-");
  EXPECT_EQ(i.field(5)->text(), "08");
  test::keyboard::press(Qt::Key_Backspace);
  EXPECT_TRUE(i.field(5)->text().isEmpty());
  const std::size_t before = s.dialogs.shown.size();
  test::keyboard::press(Qt::Key_Return);
  EXPECT_EQ(s.dialogs.shown.size(), before);
  i.pressUpdate();
  EXPECT_EQ(s.dialogs.shown.back().text, "０から５９までしか入力出来ません");
  EXPECT_EQ(QApplication::focusWidget(), i.field(5));

  // A day its month does not have.
  i.setField(5, "00");
  i.setField(1, "04");
  i.setField(2, "31");
  i.pressUpdate();
  EXPECT_EQ(s.dialogs.shown.back().text, "１から３０までしか入力出来ません");
  EXPECT_EQ(QApplication::focusWidget(), i.field(2));
  EXPECT_TRUE(i.dialog()->isVisible());
  EXPECT_EQ(mtimeOf(path), files::test::kFileTime);
}

TEST(FileInfoWindow, ValidFieldsMoveTheFocusOnAndAnOddSecondIsStoredAsTheEvenOneBelow) {
  files::test::TokyoTime tokyo;
  test::StartedForm s;
  const std::string path = s.data.file("O1.NC");
  files::test::makeFile(path, 10, 1700000000);
  s.start();
  Info i{s};
  i.open("O1.NC");
  const char* typed[] = {"2024", "05", "06", "16", "08", "09"};
  for (int f = 0; f < 6; ++f) {
    i.enterField(f, typed[f]);
    QWidget* next = f < 5 ? static_cast<QWidget*>(i.field(f + 1)) : i.update();
    EXPECT_EQ(QApplication::focusWidget(), next) << f;
  }
  test::keyboard::press(Qt::Key_Space); // 更新
  EXPECT_FALSE(i.dialog()->isVisible());
  EXPECT_EQ(mtimeOf(path), files::test::kFileTime - 1); // 16:08:08
  EXPECT_EQ(s.form->fileList().files().front().dateText, "2024-05-06 16:08:08");
  EXPECT_EQ(test::readFile(path).size(), 10u);
}

TEST(FileInfoWindow, TypesFromTheDesktopUnlessTheContentsSayOtherwiseAndProgramsByWhatTheyAre) {
  const IconTheme theme(
      {"text-plain", "application-x-netcdf", "x-office-document", "folder", "application-x-executable"});
  test::StartedForm s;
  test::writeFile(s.data.file("notes.txt"), "plain words\n");
  test::writeFile(s.data.file("run.sh"), "#!/bin/sh\necho\n");
  test::writeFile(s.data.file("O1.NC"), "%\r\nO1(SAMPLE)\r\nM30\r\n%\r\n");
  test::writeFile(s.data.file("CDF.NC"), std::string("CDF\x01\0\0\0\0", 8));
  ::chmod(s.data.file("run.sh").c_str(), 0755);
  ::chmod(s.data.file("O1.NC").c_str(), 0755); // execute bits alone make no program
  files::test::makeFolder(s.data.file("SUB"));
  s.start();
  Info i{s};
  const std::tuple<const char*, std::string, bool> types[] = {
      {"notes.txt", comment("text/plain"), true},
      // The database gives .nc to NetCDF data; an NC program is text.
      {"O1.NC", "NC ﾌｧｲﾙ", false},
      {"CDF.NC", comment("application/x-netcdf"), true},
      {"run.sh", "ｱﾌﾟﾘｹｰｼｮﾝ", true},
      {"SUB", "ﾌｧｲﾙ ﾌｫﾙﾀﾞ", true},
  };
  for (const auto& [name, type, icon] : types) {
    i.open(name);
    EXPECT_EQ(i.label("InfoType"), "種類 :　　　" + type) << name;
    EXPECT_EQ(hasIcon(i), icon) << name;
    i.dialog()->reject();
  }
}

namespace {

// I on each program (Shift-JIS, large, Ctrl-Z at the end) in `folder`: an NC
// file of the size given; Esc closes the box.
void expectNcFiles(const std::string& folder,
                   const std::vector<std::pair<std::string, std::string>>& programs) {
  const IconTheme theme({"application-x-netcdf", "x-office-document"});
  test::StartedForm s;
  s.start();
  s.form->settings().DirPath = folder;
  s.form->refreshFileList({});
  Info i{s};
  for (const auto& [name, size] : programs) {
    i.select(name);
    test::keyboard::press(Qt::Key_I);
    ASSERT_TRUE(i.dialog()->isVisible()) << name << ", the keys went to " << test::keyboard::focusName();
    EXPECT_EQ(i.label("InfoType"), "種類 :　　　NC ﾌｧｲﾙ") << name;
    EXPECT_EQ(i.label("InfoSize"), size) << name;
    EXPECT_EQ(i.label("InfoPlace"), "場所 :　　　" + folder + "/") << name;
    test::keyboard::press(Qt::Key_Escape);
    ASSERT_FALSE(i.dialog()->isVisible()) << name << ", Esc went to " << test::keyboard::focusName();
  }
}

} // namespace

TEST(FileInfoWindow, ProgramsOfEveryKindAreNcFiles) {
  test::TempDir folder;
  test::writeFile(folder.file("SJIS.NC"), test::written::shiftJisPrograms());
  test::writeFile(folder.file("LARGE_LATHE.NC"), test::written::largeCamLathe());
  test::writeFile(folder.file("CTRLZ.NC"), test::written::ctrlZAtTheEnd());
  expectNcFiles(folder.path(), {
                                   {"SJIS.NC", "サイズ :　　260ﾊﾞｲﾄ"},
                                   {"LARGE_LATHE.NC", "サイズ :　　593.032KB (607,265ﾊﾞｲﾄ)"},
                                   {"CTRLZ.NC", "サイズ :　　129ﾊﾞｲﾄ"},
                               });
}

TEST(FileInfoWindow, TheSamplePrograms) {
  KESTROVAN_NEEDS_SAMPLES();
  expectNcFiles(test::samplesDir(),
                {
                    {"MULTI_PROGRAM_SJIS_O1001_O1003.NC", "サイズ :　　280ﾊﾞｲﾄ"},
                    {"LATHE_LARGE_THREADING_O1200.NC", "サイズ :　　635.492KB (650,744ﾊﾞｲﾄ)"},
                    {"MILL_COLON_0097_CTRLZ_EOF.NC", "サイズ :　　612ﾊﾞｲﾄ"},
                });
}
