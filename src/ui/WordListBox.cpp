#include "ui/WordListBox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <functional>

namespace kivrel {

namespace {
const QColor kLeftOutColor(176, 0, 0);  // a word the last build left out
QString ToQString(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The list of entries. Only the user's own pick (the mouse on an entry, a key in the
// list) selects one: Qt also makes a row current when the list gets the focus, and
// that is no pick. After taking the focus the list shows the model's selection again.
class EntryList : public QListWidget {
 public:
  EntryList(QWidget* parent, std::function<void()> focused) : QListWidget(parent), focused_(std::move(focused)) {}
  bool Picking() const { return picking_; }

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    Pick([&] { QListWidget::mousePressEvent(event); });
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    Pick([&] { QListWidget::mouseMoveEvent(event); });
  }
  void keyPressEvent(QKeyEvent* event) override {
    Pick([&] { QListWidget::keyPressEvent(event); });
  }
  void focusInEvent(QFocusEvent* event) override {
    QListWidget::focusInEvent(event);
    focused_();
  }

 private:
  template <typename F>
  void Pick(F&& handle) {
    picking_ = true;
    handle();
    picking_ = false;
  }

  std::function<void()> focused_;
  bool picking_ = false;
};
}  // namespace

WordListBox::WordListBox(AppContext& ctx, WordListWindow& window, QWidget* parent)
    : QWidget(parent),
      ctx_(ctx),
      window_(window),
      edit_(new QLineEdit(this)),
      list_(new EntryList(this, [this] { ShowSelection(); })) {
  setFocusProxy(edit_);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  edit_->installEventFilter(this);
  list_->installEventFilter(this);
  ShowEntries();

  connect(edit_, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (!showing_) ctx_.list.SetEditText(text.toStdString());
  });
  connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (!showing_ && row >= 0 && static_cast<EntryList*>(list_)->Picking()) window_.SelectEntry(row);
  });
  // The box gets the focus when it comes from another control of the window, not when
  // it moves between the edit field and the list, nor when the window is switched to.
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
    auto inside = [this](QWidget* w) { return w == edit_ || w == list_; };
    bool from_other_window = old && old->window() != this->window();
    if (inside(now) && !inside(old) && !from_other_window)
      ctx_.WordListForm().Raise(frmWordList::cboWordList, Event::GotFocus);
  });
  subscription_ = ctx_.list.Subscribe([this](WordList::Change change) {
    switch (change) {
      case WordList::Change::Entries:
      case WordList::Change::Replaced:
        ShowEntries();
        break;
      case WordList::Change::ListIndex:
        ShowSelection();
        break;
      case WordList::Change::LeftOut:
        ShowLeftOut();
        break;
      case WordList::Change::EditText:
        if (edit_->text().toStdString() != ctx_.list.EditText()) {
          showing_ = true;
          edit_->setText(ToQString(ctx_.list.EditText()));
          showing_ = false;
        }
        break;
    }
  });
}

WordListBox::~WordListBox() { ctx_.list.Unsubscribe(subscription_); }

void WordListBox::ShowEntries() {
  QStringList shown;
  for (int row = 0; row < list_->count(); ++row) shown << list_->item(row)->text();
  const int scrolled = list_->verticalScrollBar()->value();
  showing_ = true;
  list_->clear();
  for (const std::string& entry : ctx_.list.Entries()) list_->addItem(ToQString(entry));
  showing_ = false;
  ShowLeftOut();
  // The first entry that changed comes into view (a word added, the place of one
  // removed); otherwise the list stays where it was scrolled to.
  int changed = 0;
  while (changed < list_->count() && changed < shown.size() && list_->item(changed)->text() == shown[changed]) {
    ++changed;
  }
  list_->verticalScrollBar()->setValue(scrolled);
  if (changed < list_->count()) list_->scrollToItem(list_->item(changed));
  ShowSelection();
}

void WordListBox::ShowLeftOut() {
  for (int row = 0; row < list_->count(); ++row) {
    QListWidgetItem* item = list_->item(row);
    const bool left_out = ctx_.list.IsLeftOut(ctx_.list.List(row));
    item->setForeground(left_out ? kLeftOutColor : list_->palette().color(QPalette::Text));
    QFont font = list_->font();
    font.setItalic(left_out);
    item->setFont(font);
    item->setToolTip(left_out ? QStringLiteral("Not placed in the puzzle") : QString());
  }
}

void WordListBox::ShowSelection() {
  showing_ = true;
  int index = ctx_.list.ListIndex();
  if (index >= 0 && index < list_->count()) {
    list_->setCurrentRow(index);
  } else {
    list_->setCurrentRow(-1);
    list_->clearSelection();
  }
  showing_ = false;
}

void WordListBox::resizeEvent(QResizeEvent*) {
  int edit_height = edit_->sizeHint().height();
  edit_->setGeometry(0, 0, width(), edit_height);
  list_->setGeometry(0, edit_height, width(), std::max(0, height() - edit_height));
}

bool WordListBox::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride && watched == edit_) {
    // Undo and Redo take back the typing while there is typing to take back; then they
    // are the list's.
    auto* key = static_cast<QKeyEvent*>(event);
    const QKeyCombination pressed = key->keyCombination();
    const bool undo = key->matches(QKeySequence::Undo);
    const bool redo = key->matches(QKeySequence::Redo) || pressed == QKeyCombination(Qt::CTRL, Qt::Key_Y) ||
                      pressed == QKeyCombination(Qt::CTRL | Qt::SHIFT, Qt::Key_Z);
    if ((undo && !edit_->isUndoAvailable()) || (redo && !edit_->isRedoAvailable())) {
      event->ignore();
      return true;
    }
  }
  if (event->type() == QEvent::KeyPress && watched == edit_) {
    // Up and Down in the edit field walk through the entries.
    auto* key = static_cast<QKeyEvent*>(event);
    int step = key->key() == Qt::Key_Up ? -1 : key->key() == Qt::Key_Down ? 1 : 0;
    if (step != 0) {
      int next = std::clamp(ctx_.list.ListIndex() + step, 0, ctx_.list.ListCount() - 1);
      if (ctx_.list.ListCount() > 0) window_.SelectEntry(next);
      return true;
    }
  }
  return false;
}

}  // namespace kivrel
