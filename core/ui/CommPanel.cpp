#include "core/ui/CommPanel.h"

#include "base/Dialogs.h"
#include "base/SettingsRecord.h"
#include "core/CommSettings.h"
#include "core/PortDevices.h"
#include "host/Host.h"
#include "platform/PortNames.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <cstring>

namespace kestrovan::core {
namespace {

QString q(const std::string& utf8) { return QString::fromStdString(utf8); }

QFont panelFont(int pixelSize, bool bold = false) {
  QFont font("IPAGothic");
  font.setPixelSize(pixelSize);
  font.setStyleHint(QFont::Monospace);
  font.setBold(bold);
  return font;
}

QLabel* panelLabel(QWidget* parent, const char* name, QRect place, const QString& text,
                   const char* color = "white", int pixelSize = 16) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(name);
  l->setGeometry(place);
  l->setFont(panelFont(pixelSize));
  l->setStyleSheet(QString("color: %1; background: transparent;").arg(color));
  l->setWordWrap(true);
  l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return l;
}

// How often the device table looks for adapters plugged in or pulled: a look
// at /dev/serial/by-id, a few names and links, while the panel is open.
constexpr int kDevicePollMs = 1000;

// The port a port field names: "COM5", "com5" or a bare "5"; 0 for none.
int portOfField(const QString& text) {
  const std::string t = text.trimmed().toStdString();
  std::optional<int> n = platform::portNumber(t);
  if (!n && !t.empty() && t.find_first_not_of("0123456789") == std::string::npos && t.size() <= 6)
    n = std::stoi(t);
  return n && *n >= platform::kFirstPort && *n <= platform::kLastPort ? *n : 0;
}

} // namespace

// An editable drop-down list: a line edit with its list of entries shown
// beneath it. The list never takes the focus, so that typing goes on in the
// edit while the entries show.
class DropDownField : public QLineEdit {
public:
  DropDownField(QWidget* parent, const char* name, QRect place) : QLineEdit(parent) {
    setObjectName(name);
    setGeometry(place);
    list_ = new QListWidget(parent);
    list_->setObjectName(QString(name) + "List");
    list_->setFocusPolicy(Qt::NoFocus);
    list_->setGeometry(place.x(), place.bottom() + 1, place.width(), 8 * 18 + 4);
    list_->setStyleSheet("color: black; background: white;");
    list_->hide();
    QObject::connect(list_, &QListWidget::itemClicked, list_, [this](QListWidgetItem* item) {
      setText(item->text());
      closeUp();
      setFocus();
    });
  }

  void setEntries(const std::vector<std::string>& entries) {
    entries_ = entries;
    list_->clear();
    for (const std::string& e : entries)
      list_->addItem(q(e));
  }
  const std::vector<std::string>& entries() const { return entries_; }

  void dropDown() {
    if (list_->isVisible() || entries_.empty()) return;
    list_->setCurrentRow(indexOfText());
    list_->show();
    list_->raise();
  }
  void closeUp() { list_->hide(); }

  // Up and Down in the dropped list put the entry into the field.
  void step(bool down) {
    if (entries_.empty()) return;
    // From the entry the text names; from the highlighted one when the text
    // names none.
    int row = indexOfText();
    if (row < 0) row = list_->currentRow();
    const int last = static_cast<int>(entries_.size()) - 1;
    row = row < 0 ? 0 : std::clamp(row + (down ? 1 : -1), 0, last);
    list_->setCurrentRow(row);
    setText(q(entries_[row]));
    selectAll();
  }

  // After a typed character: complete to the first entry that begins with
  // the text up to the caret, or cut the text back to the caret.
  void completeTyped() {
    const Completion c =
        typeAhead(entries_, text().toStdString(), static_cast<std::size_t>(cursorPosition()));
    setText(q(c.text));
    setSelection(static_cast<int>(c.caret), static_cast<int>(c.selectionEnd - c.caret));
    if (c.selectionEnd == c.caret) setCursorPosition(static_cast<int>(c.caret));
    if (c.entry >= 0) list_->setCurrentRow(c.entry);
  }

protected:
  void focusOutEvent(QFocusEvent* event) override {
    closeUp();
    QLineEdit::focusOutEvent(event);
  }

private:
  int indexOfText() const {
    for (std::size_t i = 0; i < entries_.size(); ++i)
      if (q(entries_[i]).compare(text(), Qt::CaseInsensitive) == 0) return static_cast<int>(i);
    return -1;
  }

  std::vector<std::string> entries_;
  QListWidget* list_;
};

CommPanel::CommPanel(host::Host& host, serial::PortOpener& ports, PortDeviceSource devices)
    : host_(host), ports_(ports), devices_(std::move(devices)) {
  GroupBox1 = new QGroupBox("通信設定", host.window());
  GroupBox1->setObjectName("GroupBox1");
  GroupBox1->setGeometry(504, 70, 201, 390);
  GroupBox1->setFont(panelFont(16));
  GroupBox1->setToolTip("通信設定が行えます。");
  GroupBox1->setStyleSheet("QGroupBox { color: white; background: olive; border: 1px solid white; }"
                           "QGroupBox::title { subcontrol-origin: padding; left: 6px; top: 1px; }"
                           "QLineEdit { color: black; background: white; }");

  speedLabel_ = panelLabel(GroupBox1, "Label9", {8, 20, 190, 18}, {});
  panelLabel(GroupBox1, "Label10", {8, 38, 190, 14}, "(速度,ﾃﾞｰﾀﾋﾞｯﾄ,ﾊﾟﾘﾃｨ,ｽﾄｯﾌﾟﾋﾞｯﾄ)", "yellow", 12);
  lists_[0] = new DropDownField(GroupBox1, "ComboBox1", {8, 54, 120, 22});
  portLabel_ = panelLabel(GroupBox1, "Label12", {8, 84, 190, 18}, {});
  lists_[1] = new DropDownField(GroupBox1, "ComboBox2", {8, 104, 80, 22});

  // The labels carry blanks so that they break into two lines in the narrow
  // panel; each one-letter field sits beside the second line.
  struct Flag {
    const char* name;
    const char* labelName;
    const char* text;
  };
  const Flag flags[4] = {
      {"Edit4", "Label13", "送受信の開始を        ＮＣ機の信号で行う(Y/N)"},
      {"Edit6", "Label15", "送受信時、頭に％をつける                  (Y/N)"},
      {"Edit9", "Label16", "送受信時、後に％を付ける　　　          (Y/N)"},
      {"Edit8", "Label17", "送信コードＥＩＡ (Y/N)"},
  };
  fields_[0] = lists_[0];
  fields_[1] = lists_[1];
  for (int i = 0; i < 4; ++i) {
    const int y = 136 + i * 48;
    // In 13 pixels, so that the second line with its "(Y/N)" fits beside
    // the field; in the panel's 16 the "(Y/N)" went to a third line, below
    // the label's height.
    panelLabel(GroupBox1, flags[i].labelName, {8, y, 156, 36}, flags[i].text, "white", 13);
    auto* edit = new QLineEdit(GroupBox1);
    edit->setObjectName(flags[i].name);
    edit->setGeometry(164, y + 16, 26, 22);
    edit->setAlignment(Qt::AlignCenter);
    fields_[2 + i] = edit;
  }
  for (QLineEdit* f : fields_) {
    f->setFont(panelFont(16));
    f->setContextMenuPolicy(Qt::NoContextMenu); // no paste around the character filters
    f->setAcceptDrops(false);
    f->installEventFilter(this);
  }

  Label14 = new QLabel(" F1 :保存     F2 :戻る", GroupBox1);
  Label14->setObjectName("Label14");
  Label14->setGeometry(2, 360, 197, 20);
  Label14->setFont(panelFont(16, true));
  Label14->setStyleSheet("color: aqua; background: transparent;");
  Label14->setCursor(Qt::PointingHandCursor);
  Label14->setToolTip("各項目に対応するファンクションキーを押してください。");
  Label14->installEventFilter(this);

  lists_[0]->setEntries(lineSettingsEntries());
  GroupBox1->hide();

  serverLineNote_ = panelLabel(GroupBox1, "Label18", {92, 100, 106, 30}, {}, "yellow", 11);
  QObject::connect(lists_[1], &QLineEdit::textChanged, this, [this] { showPortOfField(); });

  // Over the file list, which is disabled while the panel is open.
  devicesBox_ = new QWidget(host.window());
  devicesBox_->setObjectName("PortDevicesBox");
  devicesBox_->setGeometry(0, 69, 503, 338);
  devicesBox_->setAutoFillBackground(true);
  devicesBox_->setStyleSheet("background: black;");
  auto* title =
      panelLabel(devicesBox_, "PortDevicesTitle", {4, 2, 495, 18}, "ポートと装置　　F5 :装置の割当", "aqua");
  title->setWordWrap(false);
  deviceTable_ = new QTreeWidget(devicesBox_);
  deviceTable_->setObjectName("PortDevices");
  deviceTable_->setGeometry(0, 22, 503, 316);
  deviceTable_->setFocusPolicy(Qt::NoFocus);
  deviceTable_->setRootIsDecorated(false);
  deviceTable_->setColumnCount(3);
  deviceTable_->setHeaderLabels({"ポート", "種類", "装置"});
  deviceTable_->setFont(panelFont(12));
  deviceTable_->setColumnWidth(0, 56);
  deviceTable_->setColumnWidth(1, 200);
  deviceTable_->setStyleSheet("QTreeWidget { color: white; background: black; }");
  choice_ = new QListWidget(devicesBox_);
  choice_->setObjectName("DeviceChoice");
  choice_->setGeometry(8, 120, 487, 200);
  choice_->setFont(panelFont(12));
  choice_->setStyleSheet("color: black; background: white;");
  choice_->installEventFilter(this);
  choice_->hide();
  devicesBox_->hide();

  devicePoll_ = new QTimer(this);
  devicePoll_->setInterval(kDevicePollMs);
  QObject::connect(devicePoll_, &QTimer::timeout, this, [this] { pollDevices(); });
}

CommPanel::~CommPanel() = default;

void CommPanel::open() {
  const base::SettingsRecord& s = host_.settings();
  GroupBox1->show();
  GroupBox1->raise();
  host_.setListEnabled(false);
  host_.setPromptLineEnabled(false);
  speedLabel_->setText(q("通信条件(" + s.Speed + ")"));
  portLabel_->setText(q("ポート番号(" + s.Port + ")"));
  const CommFields f = commFieldsFrom(s);
  const std::string* texts[6] = {&f.speed, &f.port, &f.signal, &f.startChar, &f.endChar, &f.code};
  for (int i = 0; i < 6; ++i) {
    // The one-letter fields show their letter in upper case, as they do when typed.
    fields_[i]->setText(i < 2 ? q(*texts[i]) : q(*texts[i]).toUpper());
  }
  lists_[1]->setEntries(usablePortEntries(ports_, s.ModemePort1, s.ModemePort2));
  devicesBox_->show();
  devicesBox_->raise();
  GroupBox1->raise();
  showDevices();
  devicePoll_->start();
  focusField(0);
}

void CommPanel::showDevices() {
  byIdSeen_ = platform::byIdSignature(devices_.deviceRoot);
  present_ = platform::presentSerialDevices(devices_.deviceRoot);
  const std::vector<PortDeviceRow> rows =
      portDeviceRows(devices_.settingsProfile, present_, devices_.deviceRoot);
  deviceTable_->clear();
  for (const PortDeviceRow& row : rows) {
    auto* item = new QTreeWidgetItem(deviceTable_, {q(row.port), q(row.kind), q(row.device)});
    item->setToolTip(2, q(row.device));
    if (!row.present)
      for (int c = 0; c < 3; ++c)
        item->setForeground(c, Qt::gray);
  }
  showPortOfField();
}

void CommPanel::pollDevices() {
  if (platform::byIdSignature(devices_.deviceRoot) == byIdSeen_) return;
  showDevices();
  if (choice_->isVisible()) chooseDevice(); // the choice follows too
}

void CommPanel::showPortOfField() {
  const int n = portOfField(lists_[1]->text());
  serverLineNote_->clear();
  if (n == 0 || deviceTable_->topLevelItemCount() < n) return;
  QTreeWidgetItem* item = deviceTable_->topLevelItem(n - 1);
  deviceTable_->setCurrentItem(item);
  deviceTable_->scrollToItem(item);
  const platform::PortDeviceState state = platform::portDeviceState(
      platform::portDevice(n, devices_.settingsProfile), present_, devices_.deviceRoot);
  if (state.lineSettingsOnServer) serverLineNote_->setText(kServerLineSettings);
}

void CommPanel::chooseDevice() {
  const int n = portOfField(lists_[1]->text());
  if (n == 0) {
    host_.dialogs().show(
        {"エラー", "ポート番号を確認してください。", base::MessageButtons::Yes, base::MessageIcon::Error});
    focusField(1);
    return;
  }
  choices_ = mappableDevices(present_);
  if (choices_.empty()) {
    choice_->hide();
    host_.showMessage("割り当てられる装置がありません。", host::MessageColour::Red);
    focusField(1);
    return;
  }
  choicePort_ = n;
  const std::string current = platform::portDevice(n, devices_.settingsProfile);
  choice_->clear();
  int row = 0;
  for (std::size_t i = 0; i < choices_.size(); ++i) {
    choice_->addItem(q(deviceKindText(choices_[i]) + "  " + choices_[i].path));
    if (choices_[i].path == current) row = static_cast<int>(i);
  }
  host_.showMessage(platform::portName(n) + " に割り当てる装置を選んでください。", host::MessageColour::Lime);
  choice_->setCurrentRow(row);
  choice_->show();
  choice_->raise();
  choice_->setFocus();
}

bool CommPanel::choiceKey(QKeyEvent* k) {
  switch (k->key()) {
  case Qt::Key_Return:
  case Qt::Key_Enter: mapChosenDevice(); return true;
  case Qt::Key_Escape:
  case Qt::Key_F2: closeChoice(); return true;
  case Qt::Key_F10: host_.window()->close(); return true;
  default: return false; // Up, Down, Home, End, PageUp and PageDown move in the list
  }
}

void CommPanel::mapChosenDevice() {
  const int row = choice_->currentRow();
  if (row < 0 || row >= static_cast<int>(choices_.size())) return;
  const std::string device = choices_[static_cast<std::size_t>(row)].path;
  if (!writePortMapping(choicePort_, device, devices_.settingsPath, devices_.settingsProfile)) {
    host_.dialogs().show({"エラー", "設定ファイルに書き込めません。\n" + devices_.settingsPath,
                          base::MessageButtons::Yes, base::MessageIcon::Error});
    closeChoice();
    return;
  }
  const base::SettingsRecord& s = host_.settings();
  lists_[1]->setEntries(usablePortEntries(ports_, s.ModemePort1, s.ModemePort2));
  showDevices();
  closeChoice();
  host_.showMessage(platform::portName(choicePort_) + "=" + device, host::MessageColour::Lime);
}

void CommPanel::closeChoice() {
  choice_->hide();
  focusField(1);
}

CommFields CommPanel::fieldTexts() const {
  auto t = [this](int i) { return fields_[i]->text().toStdString(); };
  return {t(0), t(1), t(2), t(3), t(4), t(5)};
}

void CommPanel::close() {
  for (QLineEdit* f : fields_)
    f->clear();
  lists_[0]->closeUp();
  lists_[1]->closeUp();
  devicePoll_->stop();
  choice_->hide();
  devicesBox_->hide();
  host_.setListEnabled(true);
  GroupBox1->hide();
}

bool CommPanel::save() {
  base::SettingsRecord& s = host_.settings();
  if (!saveCommFields(fieldTexts(), s)) {
    host_.dialogs().show(
        {"エラー", "入力データを確認してください。", base::MessageButtons::Yes, base::MessageIcon::Error});
    focusField(0);
    return false;
  }
  close();
  host_.focusList();
  host_.showSettingsPanels();
  return true;
}

void CommPanel::back() {
  if (commFieldsChanged(fieldTexts(), host_.settings())) {
    const base::MessageAnswer answer =
        host_.dialogs().show({"通信設定", "通信設定が変更されています。\n保存せずに終了しますか？",
                              base::MessageButtons::YesNo, base::MessageIcon::Information});
    if (answer != base::MessageAnswer::Yes) {
      save();
      return;
    }
  }
  close();
  host_.ShowCancelled();
  host_.focusList();
}

void CommPanel::focusField(int tag) {
  fields_[tag]->setFocus();
  fields_[tag]->selectAll();
}

bool CommPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Label14 && event->type() == QEvent::MouseButtonPress) {
    const int x = static_cast<QMouseEvent*>(event)->position().toPoint().x();
    if (x <= 80)
      host_.SimulateKey(Qt::Key_F1);
    else if (x >= 120 && x <= 197)
      host_.SimulateKey(Qt::Key_F2);
    return true;
  }
  if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
  if (watched == choice_) return choiceKey(static_cast<QKeyEvent*>(event));
  for (int tag = 0; tag < 6; ++tag)
    if (watched == fields_[tag]) return fieldKey(tag, static_cast<QKeyEvent*>(event));
  return QObject::eventFilter(watched, event);
}

// Tags here count from 0: 0 and 1 are the lists, 2 to 5 the one-letter fields.
bool CommPanel::fieldKey(int tag, QKeyEvent* k) {
  switch (k->key()) {
  case Qt::Key_F1: save(); return true;
  case Qt::Key_F2:
  case Qt::Key_Escape: back(); return true;
  case Qt::Key_F10: host_.window()->close(); return true;
  case Qt::Key_F5: chooseDevice(); return true;
  default: break;
  }
  const bool isList = isCommList(tag);
  // Any other key shows the entries first, so that typing shows them.
  if (isList) lists_[tag]->dropDown();

  switch (k->key()) {
  case Qt::Key_Return:
  case Qt::Key_Enter:
    if (!fields_[tag]->text().isEmpty()) {
      const QString upper = fields_[tag]->text().toUpper();
      if (upper != fields_[tag]->text()) fields_[tag]->setText(upper);
      focusField(commFieldAfter(tag, true));
    }
    return true;
  case Qt::Key_Up:
  case Qt::Key_Down: {
    const bool down = k->key() == Qt::Key_Down;
    if (isList)
      lists_[tag]->step(down);
    else
      focusField(commFieldAfter(tag, down));
    return true;
  }
  case Qt::Key_Backspace:
  case Qt::Key_Delete:
  case Qt::Key_Left:
  case Qt::Key_Right:
  case Qt::Key_Home:
  case Qt::Key_End:
  case Qt::Key_Tab:
  case Qt::Key_Backtab: return false;
  default: break;
  }
  if (k->matches(QKeySequence::Paste)) return true;
  const QString typed = k->text();
  if (typed.isEmpty()) return false;
  typeInto(tag, typed);
  return true;
}

bool CommPanel::typeInto(int tag, const QString& typed) {
  if (!commFieldTakes(tag, typed.toStdString())) return false;
  QLineEdit* f = fields_[tag];
  if (!isCommList(tag)) {
    if (!commFieldHasRoom(tag, static_cast<int>(f->text().size()), static_cast<int>(f->selectedText().size()),
                          static_cast<int>(typed.size())))
      return false;
    f->insert(typed.toUpper());
    return true;
  }
  f->insert(typed);
  lists_[tag]->completeTyped();
  return true;
}

} // namespace kestrovan::core
