#include "files/ui/CopyMoveForm.h"

#include "base/Dialogs.h"
#include "base/HistoryList.h"
#include "base/SettingsRecord.h"
#include "files/ChooserRows.h"
#include "files/CopyTargets.h"
#include "files/FolderChange.h"
#include "host/DialogKeys.h"
#include "host/FolderBrowser.h"
#include "host/HistoryBox.h"
#include "host/Host.h"
#include "host/ScreenWidgets.h"
#include "platform/Paths.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>

namespace kestrovan::files {
namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

int refusedCount(const QString& text) {
  return static_cast<int>(std::count_if(text.begin(), text.end(), [](QChar c) {
    return c.unicode() < 0x80 && std::string_view(kDestinationRefused).find(static_cast<char>(c.unicode())) !=
                                     std::string_view::npos;
  }));
}

} // namespace

TCopyForm::TCopyForm(host::Host& host, host::FolderBrowser& browser, Run run)
    : QDialog(host.window()), host_(host), browser_(browser), run_(std::move(run)),
      history_(std::make_unique<base::HistoryList>()) {
  setObjectName("CopyForm");
  setFixedSize(400, 290);
  setFont(host::screenFont(12));
  Label1 = new QLabel("選択ファイル一覧 (同一ﾌｫﾙﾀﾞｰには不可!!)", this);
  Label1->setObjectName("Label1");
  Label1->setGeometry(10, 8, 380, 16);
  ListBox1 = new QListWidget(this);
  ListBox1->setObjectName("ListBox1");
  ListBox1->setGeometry(10, 26, 380, 160);
  ListBox1->setFocusPolicy(Qt::NoFocus);
  Label2 = new QLabel(this);
  Label2->setObjectName("Label2");
  Label2->setGeometry(10, 196, 60, 16);
  ComboBox1 = host::historyBox(this, {10, 214, 340, 24});
  Button3 = new QPushButton("...", this);
  Button3->setObjectName("Button3");
  Button3->setGeometry(356, 214, 34, 24);
  Button1 = new QPushButton("OK", this);
  Button1->setObjectName("Button1");
  Button1->setGeometry(220, 252, 80, 27);
  Button2 = new QPushButton("ｷｬﾝｾﾙ", this);
  Button2->setObjectName("Button2");
  Button2->setGeometry(310, 252, 80, 27);
  for (QPushButton* b : {Button1, Button2, Button3}) {
    b->setAutoDefault(false);
    b->setDefault(false);
  }
  ComboBox1->lineEdit()->installEventFilter(this);
  host::installDialogKeys(*this, {[this] {
                                    if (Button1->isEnabled()) Button1Click();
                                  },
                                  {},
                                  &host_});
  connect(ComboBox1, &QComboBox::editTextChanged, this, [this] { updateOk(); });
  connect(ComboBox1->lineEdit(), &QLineEdit::textEdited, this, &TCopyForm::edited);
  connect(ComboBox1->lineEdit(), &QLineEdit::textChanged, this,
          [this] { before_ = ComboBox1->lineEdit()->text(); });
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(Button2, &QPushButton::clicked, this, [this] { reject(); });
  connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
}

TCopyForm::~TCopyForm() = default;

std::string TCopyForm::historyPath() const {
  return platform::joinPath(host_.programFolder(), base::kPathHistoryFile);
}

void TCopyForm::open(TransferMode mode, std::vector<std::string> names, std::function<void()> closed) {
  mode_ = mode;
  names_ = std::move(names);
  closed_ = std::move(closed);
  setWindowTitle(mode == TransferMode::Copy ? "ﾌｧｲﾙｺﾋﾟｰ" : "ﾌｧｲﾙ移動");
  Label2->setText(mode == TransferMode::Copy ? "ｺﾋﾟｰ先" : "移動先");
  ListBox1->clear();
  for (const std::string& n : names_)
    ListBox1->addItem(q(n));
  *history_ = base::HistoryList::load(historyPath());
  host::showHistory(*ComboBox1, history_->entries(),
                    history_->empty() ? std::string() : history_->entries().front());
  updateOk();

  QRect main = host_.recordedWindowRect();
  if (main.isNull()) main = host_.window()->frameGeometry();
  move(main.left() + main.width() / 2 - width() / 2, main.top() + main.height() / 2 - height() / 2);
  setWindowModality(Qt::ApplicationModal);
  show();
  raise();
  activateWindow();
  ComboBox1->setFocus();
}

void TCopyForm::updateOk() { Button1->setEnabled(!ComboBox1->currentText().isEmpty()); }

// Typed characters are refused before they go in; a paste or a drop is
// taken back once it is in.
bool TCopyForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ComboBox1->lineEdit() && event->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(event);
    if (refusedCount(k->text()) > 0) {
      host_.dialogs().show(
          {"確認", kDestinationRefusedText, base::MessageButtons::Ok, base::MessageIcon::Error});
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TCopyForm::edited(const QString& text) {
  if (refusedCount(text) <= refusedCount(before_)) return;
  QLineEdit* edit = ComboBox1->lineEdit();
  const QString before = before_;
  edit->setText(before);
  host_.dialogs().show({"確認", kDestinationRefusedText, base::MessageButtons::Ok, base::MessageIcon::Error});
}

void TCopyForm::Button3Click() {
  const std::string& dir = host_.settings().DirPath;
  const std::optional<std::string> chosen = browser_.browse(this, "現ﾃﾞｨﾚｸﾄﾘ " + dir, dir);
  // The field shows the folder; its bytes are kept for the copy.
  host::setBoxPath(*ComboBox1, chosen.value_or(dir));
  updateOk();
  // The keyboard back to the field, whether or not a window manager gives
  // this dialog back its activation.
  activateWindow();
  ComboBox1->setFocus();
}

void TCopyForm::Button1Click() {
  host_.setScreenSaverEnabled(false);
  // A folder from the browser or the history keeps its bytes, also with more
  // typed after it; the history remembers those bytes, not the shown text.
  const std::string typed = host::boxPath(*ComboBox1);
  if (typed.empty()) return;
  history_->add(typed);
  host::showHistory(*ComboBox1, history_->entries(), typed);

  const std::string& dir = host_.settings().DirPath;
  std::string destination = destinationFolder(typed, dir);
  std::vector<std::string> sources;
  for (const std::string& n : names_)
    sources.push_back(platform::joinPath(dir, n));
  // Refused before the destination is offered for creation: nothing is made
  // for a copy that cannot happen.
  if (const std::string folder = folderHoldingDestination(sources, destination, mode_); !folder.empty()) {
    host_.dialogs().show({modeTitle(mode_), intoItselfText(folder, mode_), base::MessageButtons::Ok,
                          base::MessageIcon::Error});
    ComboBox1->setFocus();
    return;
  }
  if (!platform::isDirectory(destination)) {
    const base::MessageAnswer create =
        host_.dialogs().show({"確認", "ディレクトリが見つかりません。ディレクトリを作成しますか？",
                              base::MessageButtons::YesNo, base::MessageIcon::Warning});
    if (create == base::MessageAnswer::Yes) {
      if (!CreateFolderPath(destination)) {
        host_.dialogs().show({"確認", "ディレクトリを作成できませんでした。\n" + destination,
                              base::MessageButtons::Ok, base::MessageIcon::Error});
        ComboBox1->setFocus();
        return;
      }
    } else {
      destination = dir;
      ComboBox1->setEditText(q(dir));
    }
  }
  if (sameFolder(destination, dir)) {
    host_.dialogs().show({"確認", dir + "のﾌｫﾙﾀﾞｰにはｺﾋﾟｰは出来ません。", base::MessageButtons::Yes,
                          base::MessageIcon::Warning});
    ComboBox1->setFocus();
    return;
  }
  setEnabled(false);
  run_(sources, destination);
  setEnabled(true);
  accept();
}

void TCopyForm::done(int result) {
  QDialog::done(result);
  history_->save(historyPath());
  host_.setScreenSaverEnabled(true);
  host_.showFunctionKeys(false);
  if (std::function<void()> closed = std::exchange(closed_, nullptr)) closed();
}

} // namespace kestrovan::files
