#include "core/ui/OptionForm.h"

#include "base/Dialogs.h"
#include "core/OptionFields.h"
#include "files/FileList.h"
#include "host/DialogKeys.h"
#include "host/Host.h"
#include "host/ScreenWidgets.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include <algorithm>

namespace kestrovan::core {
namespace {

QString q(const std::string& utf8) { return QString::fromStdString(utf8); }

constexpr OptionPage kPages[4] = {OptionPage::General, OptionPage::Receive, OptionPage::Send,
                                  OptionPage::Other};

int fieldWidth(const OptionField& f) {
  if (f.maxLength == 0) return 137; // the text not to send
  return f.maxLength == 1 ? 30 : 12 + 9 * f.maxLength;
}

// What applying a list-shaping setting does to the main window.
class ListEffects : public OptionEffects {
public:
  explicit ListEffects(host::Host& host) : host_(host) {}
  void allFilesChanged() override {
    host_.refreshFileList({.keepSelection = true});
    host_.ReturnToIdle(1000);
  }
  void listColumnChanged() override {
    host_.layOutList();
    host_.refreshFileList({.keepSelection = true});
    host_.ReturnToIdle(1000);
  }
  void letterCaseChanged() override { host_.refreshFileList({}); }

private:
  host::Host& host_;
};

} // namespace

TOptionForm::TOptionForm(host::Host& host)
    : QDialog(host.window(), Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                                 Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      host_(host) {
  setObjectName("OptionForm");
  setWindowTitle("ｵﾌﾟｼｮﾝ設定");
  setFixedSize(272, 411);
  QFont font("IPAPGothic");
  font.setPixelSize(12);
  setFont(font);

  PageControl1 = new QTabWidget(this);
  PageControl1->setObjectName("PageControl1");
  PageControl1->setGeometry(10, 10, 250, 360);

  const std::vector<OptionField>& fields = optionFields();
  edits_.resize(fields.size());
  for (OptionPage page : kPages) {
    auto* sheet = new QWidget;
    PageControl1->addTab(sheet, optionPageTitle(page));
    for (int index : optionFieldsOf(page)) {
      const OptionField& f = fields[index];
      const int y = 6 + (f.tag - 1) * 40;
      auto* label = new QLabel(f.label, sheet);
      label->setGeometry(8, y, 230, 15);
      auto* edit = new QLineEdit(sheet);
      edit->setObjectName(f.key);
      edit->setGeometry(8, y + 15, fieldWidth(f), 20);
      edit->setContextMenuPolicy(Qt::NoContextMenu); // no paste around the character filters
      edit->setAcceptDrops(false);
      label->setBuddy(edit);
      if (f.note) {
        auto* note = new QLabel(f.note, sheet);
        // To the page's right edge: the longest note ends in ")" there.
        note->setGeometry(8 + fieldWidth(f) + 6, y + 17, 238 - fieldWidth(f) - 6, 15);
      }
      edit->installEventFilter(this);
      // One handler for every field: any change makes "変更" available.
      connect(edit, &QLineEdit::textChanged, this, [this] { Button1->setEnabled(true); });
      edits_[index] = edit;
    }
  }
  connect(PageControl1, &QTabWidget::currentChanged, this, [this](int page) {
    const std::vector<int> onPage = optionFieldsOf(kPages[page]);
    if (!onPage.empty()) focusField(onPage.front());
  });

  Button1 = new QPushButton("変更", this);
  Button1->setObjectName("Button1");
  Button1->setGeometry(110, 376, 65, 25);
  Button2 = new QPushButton("戻る", this);
  Button2->setObjectName("Button2");
  Button2->setGeometry(190, 376, 65, 25);
  for (QPushButton* b : {Button1, Button2}) {
    b->setAutoDefault(false);
    b->setDefault(false);
  }
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(Button2, &QPushButton::clicked, this, [this] { close(); });
  // Enter in a field moves on to the next one; on a button it presses it.
  host::installDialogKeys(*this, {{}, {edits_.begin(), edits_.end()}, &host_});
}

TOptionForm::~TOptionForm() = default;

QLineEdit* TOptionForm::field(const std::string& key) const {
  const std::vector<OptionField>& fields = optionFields();
  for (std::size_t i = 0; i < fields.size(); ++i)
    if (key == fields[i].key) return edits_[i];
  return nullptr;
}

void TOptionForm::showModal() {
  setWindowModality(Qt::ApplicationModal);
  show();
  raise();
  activateWindow();
  // Focused once shown: a hidden field does not take the focus.
  focusField(optionFieldsOf(kPages[PageControl1->currentIndex()]).front());
}

void TOptionForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void TOptionForm::FormShow() {
  // Centred on the main window as it was when the dialog was asked for.
  host::centreOnMainWindow(*this, host_);

  const OptionTexts texts = optionTextsFrom(host_.settings());
  for (std::size_t i = 0; i < edits_.size(); ++i)
    edits_[i]->setText(q(texts.texts[i]));
  Button1->setEnabled(false);
}

bool TOptionForm::Button1Click() {
  OptionTexts texts;
  for (QLineEdit* e : edits_)
    texts.texts.push_back(e->text().toStdString());
  ListEffects effects(host_);
  if (std::optional<std::string> failed = applyOptions(texts, host_.settings(), effects)) {
    // As an unhandled conversion error: the program's own title, an error icon.
    host_.dialogs().show(
        {"Kestrovan", notAnIntegerMessage(*failed), base::MessageButtons::Ok, base::MessageIcon::Error});
    return false;
  }
  Button1->setEnabled(false);
  return true;
}

void TOptionForm::closeEvent(QCloseEvent* event) {
  if (Button1->isEnabled()) {
    const base::MessageAnswer answer = host_.dialogs().show(
        {"オプション設定", "オプション設定が変更されています。\n保存せずに終了しますか？",
         base::MessageButtons::YesNo, base::MessageIcon::Information});
    // No applies first; an integer field that does not convert keeps the
    // dialog open, so that the operator sees what stopped it.
    if (answer != base::MessageAnswer::Yes && !Button1Click()) {
      event->ignore();
      return;
    }
  }
  event->accept();
}

void TOptionForm::reject() { close(); }

void TOptionForm::focusField(int index) {
  edits_[index]->setFocus();
  edits_[index]->selectAll();
}

// The field `step` tags away on the same page, wrapping at both ends.
int TOptionForm::neighbour(int index, int step) const {
  const std::vector<int> onPage = optionFieldsOf(optionFields()[index].page);
  const int count = static_cast<int>(onPage.size());
  const int at = static_cast<int>(std::find(onPage.begin(), onPage.end(), index) - onPage.begin());
  return onPage[(at + step + count) % count];
}

bool TOptionForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    for (std::size_t i = 0; i < edits_.size(); ++i)
      if (watched == edits_[i]) return fieldKey(static_cast<int>(i), static_cast<QKeyEvent*>(event));
  }
  return QDialog::eventFilter(watched, event);
}

bool TOptionForm::fieldKey(int index, QKeyEvent* k) {
  QLineEdit* edit = edits_[index];
  switch (k->key()) {
  case Qt::Key_Up: focusField(neighbour(index, -1)); return true;
  case Qt::Key_Down: focusField(neighbour(index, 1)); return true;
  case Qt::Key_Return:
  case Qt::Key_Enter:
    if (!edit->text().isEmpty()) {
      // Only a stored lower-case value changes here; an unchanged text must
      // not count as a change.
      const QString upper = edit->text().toUpper();
      if (upper != edit->text()) edit->setText(upper);
      focusField(neighbour(index, 1));
    }
    return true;
  case Qt::Key_Backspace:
  case Qt::Key_Delete:
  case Qt::Key_Left:
  case Qt::Key_Right:
  case Qt::Key_Home:
  case Qt::Key_End:
  case Qt::Key_Tab:
  case Qt::Key_Backtab:
  case Qt::Key_Escape: return false;
  default: break;
  }
  if (k->matches(QKeySequence::Paste)) return true;
  const QString typed = k->text();
  if (typed.isEmpty()) return false;
  const OptionField& f = optionFields()[index];
  for (char32_t c : typed.toUcs4())
    if (!optionAccepts(f, c)) return true; // dropped without a word
  // The limit is kept here rather than in the edit, so that a longer stored
  // value is still shown whole and applied unchanged.
  if (f.maxLength > 0 && edit->text().size() - edit->selectedText().size() + typed.size() > f.maxLength)
    return true;
  edit->insert(typed.toUpper());
  return true;
}

} // namespace kestrovan::core
