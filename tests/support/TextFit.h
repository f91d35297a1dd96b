#pragma once
// Texts cut by their widgets: every label, button, group-box title, list item
// and tab under a widget, measured with the widget's own font against the
// room the widget gives it, as Qt lays it out. A text wider than its room
// loses its end (or, right-aligned, its beginning); a text half covered by a
// widget stacked above it leaves fragments of glyphs at the cover's edge.

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QRegion>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QToolBar>
#include <QToolButton>

#include <string>
#include <vector>

namespace kestrovan::test::textfit {

// The fonts the README installs (fonts-ipafont-gothic), in which the screen
// is drawn; without them Qt substitutes other fonts and every measure is off.
inline bool screenFontsInstalled() {
  const QStringList families = QFontDatabase::families();
  return families.contains("IPAGothic") && families.contains("IPAPGothic");
}

inline std::string nameOf(const QWidget* w) {
  auto one = [](const QWidget* x) {
    return std::string(x->metaObject()->className()) + " \"" + x->objectName().toStdString() + "\"";
  };
  return w->window() && w->window() != w ? one(w) + " in " + one(w->window()) : one(w);
}

// What a mnemonic label shows: "&&" as "&", a single "&" not at all.
inline QString withoutMnemonics(const QString& text) {
  QString shown;
  for (int i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) ++i;
    shown += text[i];
  }
  return shown;
}

class Walker {
public:
  std::vector<std::string> faults;

  // Every shown widget under `root`, root included.
  void walk(QWidget* root) {
    if (!root->isVisible()) return;
    root->ensurePolished();
    check(root);
    for (QObject* child : root->children())
      if (auto* w = qobject_cast<QWidget*>(child); w && !w->isWindow()) walk(w);
  }

  // The region of `w` (in its own coordinates) not covered by a widget
  // stacked above it or above one of its parents, inside its window.
  static QRegion uncovered(const QWidget* w) {
    QRegion region(w->rect());
    for (const QWidget* p = w; p && !p->isWindow(); p = p->parentWidget()) {
      const QWidget* parent = p->parentWidget();
      if (!parent) break;
      // Clipped by the parent's rectangle.
      region &= QRegion(QRect(w->mapFrom(parent, QPoint(0, 0)), parent->size()));
      const QObjectList& siblings = parent->children();
      bool above = false;
      for (QObject* o : siblings) {
        if (o == p) {
          above = true;
          continue;
        }
        auto* s = qobject_cast<QWidget*>(o);
        if (!above || !s || s->isWindow() || !s->isVisible()) continue;
        region -= QRegion(QRect(w->mapFrom(parent, s->pos()), s->size()));
      }
    }
    return region;
  }

private:
  void fault(const QWidget* w, const QString& text, const std::string& what) {
    faults.push_back(nameOf(w) + ": \"" + text.toStdString() + "\" " + what);
  }

  void tooWide(const QWidget* w, const QString& text, int need, int room) {
    if (need > room)
      fault(w, text, "needs " + std::to_string(need) + " px, has " + std::to_string(room) + " px");
  }

  void check(QWidget* w) {
    if (auto* label = qobject_cast<QLabel*>(w)) return checkLabel(label);
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return checkButton(button);
    if (auto* box = qobject_cast<QGroupBox*>(w)) return checkGroupBox(box);
    if (qobject_cast<QHeaderView*>(w)) return; // its sections are sized by their texts
    if (auto* view = qobject_cast<QAbstractItemView*>(w)) return checkItems(view);
    if (auto* tabs = qobject_cast<QTabBar*>(w)) return checkTabs(tabs);
    if (auto* combo = qobject_cast<QComboBox*>(w)) return checkCombo(combo);
    if (auto* menu = qobject_cast<QMenu*>(w)) return checkMenu(menu);
    if (auto* bar = qobject_cast<QToolBar*>(w)) return checkToolBar(bar);
  }

  // A menu's items: the text (and its key, after a tab) with the room the
  // style gives an item beside its check mark and icon.
  void checkMenu(QMenu* menu) {
    QStyle* style = menu->style();
    for (QAction* action : menu->actions()) {
      if (!action->isVisible() || action->isSeparator() || action->text().isEmpty()) continue;
      const QRect place = menu->actionGeometry(action);
      if (!place.isValid()) continue;
      const QFontMetrics fm(action->font().resolve(menu->font()));
      QString text = withoutMnemonics(action->text());
      QString key = action->shortcut().toString(QKeySequence::NativeText);
      if (const qsizetype tab = text.indexOf('\t'); tab >= 0) {
        key = text.mid(tab + 1);
        text = text.left(tab);
      }
      QStyleOptionMenuItem opt;
      opt.initFrom(menu);
      opt.menuItemType = QStyleOptionMenuItem::Normal;
      opt.text = key.isEmpty() ? text : text + '\t' + key;
      opt.icon = action->icon();
      opt.maxIconWidth = menu->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, menu);
      opt.checkType =
          action->isCheckable() ? QStyleOptionMenuItem::NonExclusive : QStyleOptionMenuItem::NotCheckable;
      opt.reservedShortcutWidth = key.isEmpty() ? 0 : fm.horizontalAdvance(key);
      const QSize need = style->sizeFromContents(
          QStyle::CT_MenuItem, &opt,
          QSize(fm.horizontalAdvance(text) + opt.reservedShortcutWidth, fm.height()), menu);
      const int frame = style->pixelMetric(QStyle::PM_MenuHMargin, &opt, menu) +
                        style->pixelMetric(QStyle::PM_MenuPanelWidth, &opt, menu);
      // The menu's own width is what the widest item asked for; an item
      // narrower than its need is cut, and a menu beyond the screen's edge
      // cuts every item there.
      if (place.width() < need.width() - 2 * frame)
        fault(menu, text,
              "needs " + std::to_string(need.width() - 2 * frame) + " px, has " +
                  std::to_string(place.width()) + " px");
      const QRect onScreen = menu->screen() ? menu->screen()->geometry() : QRect();
      const QRect global(menu->mapToGlobal(place.topLeft()), place.size());
      if (onScreen.isValid() && !onScreen.contains(global))
        fault(menu, text,
              "is partly off the screen at x " + std::to_string(global.left()) + ".." +
                  std::to_string(global.right()));
    }
  }

  // A tool bar too narrow for its buttons puts the last of them behind its
  // extension arrow, where nothing tells they are there.
  void checkToolBar(QToolBar* bar) {
    for (QAction* action : bar->actions()) {
      if (!action->isVisible() || action->isSeparator()) continue;
      QWidget* button = bar->widgetForAction(action);
      if (button && !button->isVisible())
        fault(bar, withoutMnemonics(action->text()),
              "is hidden behind the tool bar's extension arrow (the bar is " + std::to_string(bar->width()) +
                  " px wide, needs " + std::to_string(bar->sizeHint().width()) + " px)");
    }
  }

  void checkLabel(QLabel* label) {
    QString text = label->text();
    if (text.isEmpty()) return;
    if (label->textFormat() == Qt::RichText ||
        (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text)))
      return; // no rich texts on this screen
    if (label->buddy()) text = withoutMnemonics(text);
    const QFontMetrics fm(label->font());
    const QRect cr =
        label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(), -label->margin());
    // QLabel's indent: half an "x" inside a frame, on the side the text
    // is aligned to.
    int indent = label->indent();
    if (indent < 0) indent = label->frameWidth() > 0 ? fm.horizontalAdvance(QLatin1Char('x')) / 2 : 0;
    if (!(label->alignment() & (Qt::AlignLeft | Qt::AlignRight))) indent = 0;
    const int room = cr.width() - indent;

    if (label->wordWrap()) {
      // Laid out as the label does: its width, breaks at words (anywhere in
      // Japanese text); a word wider than the room still overflows, and
      // lines below the label's height are lost.
      QTextDocument doc;
      doc.setDefaultFont(label->font());
      doc.setDocumentMargin(0);
      QTextOption option = doc.defaultTextOption();
      option.setWrapMode(QTextOption::WordWrap);
      doc.setDefaultTextOption(option);
      doc.setPlainText(text);
      doc.setTextWidth(room);
      const int height = static_cast<int>(std::ceil(doc.size().height())); // lays the lines out
      for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        QTextLayout* layout = b.layout();
        for (int i = 0; i < layout->lineCount(); ++i) {
          const QTextLine line = layout->lineAt(i);
          const QString part = b.text().mid(line.textStart(), line.textLength());
          tooWide(label, part, static_cast<int>(std::ceil(line.naturalTextWidth())), room);
        }
      }
      if (height > cr.height())
        fault(label, text,
              "needs " + std::to_string(height) + " px of height, has " + std::to_string(cr.height()) +
                  " px");
      return;
    }

    const QStringList lines = text.split('\n');
    for (const QString& line : lines)
      tooWide(label, line, fm.horizontalAdvance(line), room);
    checkCovered(label, lines, fm, cr, indent);
  }

  // Glyphs cut in two by a widget stacked above the label.
  void checkCovered(QLabel* label, const QStringList& lines, const QFontMetrics& fm, const QRect& cr,
                    int indent) {
    const QRegion open = uncovered(label);
    if (open == QRegion(label->rect())) return;
    const Qt::Alignment align = QStyle::visualAlignment(label->layoutDirection(), label->alignment());
    const int lineHeight = fm.height();
    const int total = lineHeight * static_cast<int>(lines.size());
    int top = cr.top();
    if (align & Qt::AlignVCenter)
      top += (cr.height() - total) / 2;
    else if (align & Qt::AlignBottom)
      top = cr.bottom() + 1 - total;
    for (int n = 0; n < lines.size(); ++n) {
      const QString& line = lines[n];
      const int advance = fm.horizontalAdvance(line);
      int left = cr.left() + indent;
      if (align & Qt::AlignRight)
        left = cr.right() + 1 - indent - advance;
      else if (align & Qt::AlignHCenter)
        left = cr.left() + (cr.width() - advance) / 2;
      for (int i = 0; i < line.size(); ++i) {
        if (line[i].isSpace()) continue;
        // The glyph's ink, at its place on the line's baseline.
        const int x0 = left + fm.horizontalAdvance(line.left(i));
        const QRect ink = fm.boundingRect(line[i]).translated(x0, top + n * lineHeight + fm.ascent());
        if (ink.isEmpty()) continue;
        const QRegion seen = open & QRegion(ink);
        if (seen.isEmpty() || seen == QRegion(ink)) continue;
        fault(label, line,
              "has \"" + QString(line[i]).toStdString() + "\" cut in two by a widget above it at x " +
                  std::to_string(label->mapTo(label->window(), QPoint(x0, 0)).x()));
        break;
      }
    }
  }

  void checkButton(QAbstractButton* button) {
    const QString text = withoutMnemonics(button->text());
    if (text.isEmpty()) return;
    const QFontMetrics fm(button->font());
    QStyle* style = button->style();
    int room = 0;
    if (qobject_cast<QPushButton*>(button)) {
      QStyleOptionButton opt;
      opt.initFrom(button);
      opt.text = button->text();
      opt.icon = button->icon();
      opt.iconSize = button->iconSize();
      room = style->subElementRect(QStyle::SE_PushButtonContents, &opt, button).width();
      if (!button->icon().isNull()) room -= button->iconSize().width() + 4;
    } else if (qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button)) {
      QStyleOptionButton opt;
      opt.initFrom(button);
      opt.text = button->text();
      const bool check = qobject_cast<QCheckBox*>(button) != nullptr;
      room = style
                 ->subElementRect(check ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents, &opt,
                                  button)
                 .width();
    } else if (qobject_cast<QToolButton*>(button)) {
      if (button->width() < button->sizeHint().width())
        fault(button, text,
              "needs " + std::to_string(button->sizeHint().width()) + " px, has " +
                  std::to_string(button->width()) + " px");
      return;
    } else {
      room = button->contentsRect().width();
    }
    tooWide(button, text, fm.horizontalAdvance(text), room);
  }

  void checkGroupBox(QGroupBox* box) {
    if (box->title().isEmpty()) return;
    QStyleOptionGroupBox opt;
    opt.initFrom(box);
    opt.text = box->title();
    opt.lineWidth = 1;
    opt.midLineWidth = 0;
    opt.textAlignment = Qt::Alignment(box->alignment());
    opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    if (box->isCheckable()) opt.subControls |= QStyle::SC_GroupBoxCheckBox;
    opt.features = box->isFlat() ? QStyleOptionFrame::Flat : QStyleOptionFrame::None;
    const QRect label =
        box->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, box);
    const QString title = withoutMnemonics(box->title());
    // The title's place is made from its bounding rectangle; it is cut
    // where the box is narrower than that.
    const int need = QFontMetrics(box->font()).boundingRect(title).width();
    const int room = std::min(label.right(), box->rect().right()) - std::max(label.left(), 0) + 1;
    tooWide(box, title, need, room);
  }

  void checkItems(QAbstractItemView* view) {
    QAbstractItemModel* model = view->model();
    if (!model) return;
    QStyleOption opt;
    opt.initFrom(view);
    const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, &opt, view) + 1;
    const QRect port = view->viewport()->rect();
    const int columns = model->columnCount(view->rootIndex());
    for (int cell = 0; cell < model->rowCount(view->rootIndex()) * columns; ++cell) {
      const QModelIndex index = model->index(cell / columns, cell % columns, view->rootIndex());
      if (!view->visualRect(index).isValid()) continue; // a hidden column
      const QString text = index.data(Qt::DisplayRole).toString();
      if (text.isEmpty()) continue;
      const QVariant fontData = index.data(Qt::FontRole);
      const QFont font = fontData.isValid() ? fontData.value<QFont>() : view->font();
      const QFontMetrics fm(font);
      const QRect rect = view->visualRect(index);
      const int left = std::max(rect.left(), port.left());
      const int right = std::min(rect.right(), port.right());
      tooWide(view, text, fm.horizontalAdvance(text), right - left + 1 - 2 * margin);
      // The row's height holds the glyphs, the line centred in it: an
      // underscore drawn below the row's last pixel row is not seen.
      const int baseline = rect.top() + (rect.height() - fm.height()) / 2 + fm.ascent();
      const QRect ink = fm.boundingRect(text).translated(rect.left(), baseline);
      if (ink.bottom() > rect.bottom() || ink.top() < rect.top())
        fault(view, text,
              "has ink from y " + std::to_string(ink.top()) + " to " + std::to_string(ink.bottom()) +
                  " in a row from " + std::to_string(rect.top()) + " to " + std::to_string(rect.bottom()));
    }
  }

  void checkTabs(QTabBar* tabs) {
    if (tabs->count() == 0) return;
    const int need = tabs->sizeHint().width();
    if (need > tabs->width()) {
      QString all;
      for (int i = 0; i < tabs->count(); ++i)
        all += (i ? " | " : "") + tabs->tabText(i);
      fault(tabs, all, "needs " + std::to_string(need) + " px, has " + std::to_string(tabs->width()) + " px");
    }
  }

  void checkCombo(QComboBox* combo) {
    if (combo->isEditable() || combo->currentText().isEmpty()) return;
    QStyleOptionComboBox opt;
    opt.initFrom(combo);
    opt.currentText = combo->currentText();
    opt.editable = false;
    opt.frame = combo->hasFrame();
    const QRect field =
        combo->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, combo);
    tooWide(combo, combo->currentText(), QFontMetrics(combo->font()).horizontalAdvance(combo->currentText()),
            field.width());
  }
};

// The lines of a label as it shows them: its own lines, each broken where the
// label's width breaks it when it wraps words.
inline QStringList shownLines(const QLabel* label) {
  if (!label->wordWrap()) return label->text().split('\n');
  QTextDocument doc;
  doc.setDefaultFont(label->font());
  doc.setDocumentMargin(0);
  QTextOption option = doc.defaultTextOption();
  option.setWrapMode(QTextOption::WordWrap);
  doc.setDefaultTextOption(option);
  doc.setPlainText(label->text());
  doc.setTextWidth(label->contentsRect().width() - 2 * label->margin());
  (void)doc.size(); // lays the lines out
  QStringList lines;
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
    for (int i = 0; i < b.layout()->lineCount(); ++i)
      lines << b.text().mid(b.layout()->lineAt(i).textStart(), b.layout()->lineAt(i).textLength());
  return lines;
}

// Every text under `root` that does not fit, one line each; empty when all fit.
inline std::vector<std::string> cutTexts(QWidget* root) {
  Walker walker;
  walker.walk(root);
  return walker.faults;
}

} // namespace kestrovan::test::textfit
