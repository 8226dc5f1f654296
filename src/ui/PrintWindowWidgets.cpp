#include "ui/PrintWindowWidgets.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <optional>

#include "forms/PrintOptionsDialog.h"
#include "forms/PrintPreview.h"
#include "print/PageDrawing.h"
#include "qt/QtSurface.h"
#include "ui/FormBinder.h"
#include "ui/PuzzlePicture.h"
#include "ui/SpinButton.h"

namespace kivrel {

using namespace frmPrintOptions;

namespace {

QGroupBox* Frame(const Design& d, QWidget* parent, const char* caption, int left, int top, int width, int height,
                 std::optional<Control> control = std::nullopt) {
  auto* frame = new QGroupBox(QString::fromUtf8(caption), parent);
  if (control) Design::Named(frame, *control);
  d.Place(frame, left, top, width, height);
  return frame;
}

using Names = std::array<Control, 3>;
using Captions = std::array<const char*, 3>;

// Three option buttons down a frame `width` twips wide, `pitch` twips apart.
void Options(const Design& d, QGroupBox* frame, int width, const Names& names, const Captions& captions, int top,
             int pitch) {
  for (std::size_t i = 0; i < names.size(); ++i) {
    auto* option = Design::Named(new QRadioButton(QString::fromUtf8(captions[i]), frame), names[i]);
    d.Place(option, 105, top + static_cast<int>(i) * pitch, width - 165, std::min(pitch, 285));
  }
}

QWidget* Filled(QWidget* widget, const QColor& colour) {
  widget->setAutoFillBackground(true);
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, colour);
  widget->setPalette(palette);
  return widget;
}

void MakePositioning(const Design& d, QWidget* dialog) {
  QGroupBox* positioning = Frame(d, dialog, "Positioning", 120, 90, 5055, 3105);
  const Captions sides = {"Left", "Center", "Right"};
  Options(d, Frame(d, positioning, "Title", 105, 255, 1140, 1305), 1140, {radTitleLeft, radTitleCenter, radTitleRight},
          sides, 300, 345);
  Options(d, Frame(d, positioning, "Instructions", 1320, 255, 1290, 1305, fraInstructions), 1290,
          {radInstrLeft, radInstrCenter, radInstrRight}, sides, 300, 345);
  // The puzzle's two sub-frames sit inside its frame, so their buttons are closer.
  QGroupBox* puzzle = Frame(d, positioning, "Puzzle", 2685, 255, 2265, 1305);
  Options(d, Frame(d, puzzle, "Vertical", 90, 225, 1035, 1005), 1035, {radPuzzleTop, radPuzzleMiddle, radPuzzleBottom},
          {"Top", "Middle", "Bottom"}, 240, 240);
  Options(d, Frame(d, puzzle, "Horizontal", 1140, 225, 1035, 1005), 1035,
          {radPuzzleLeft, radPuzzleCenter, radPuzzleRight}, sides, 240, 240);

  QGroupBox* list = Frame(d, positioning, "Word List", 105, 1650, 4845, 1335, fraWordList);
  d.Check(list, chkAbove, "Above", 1995, 255, 975);
  d.Check(list, chkLeft, "Left", 660, 615, 915);
  auto* relative = Design::Named(new QLabel(QStringLiteral("(relative to puzzle)"), list), lblRelative);
  relative->setAlignment(Qt::AlignCenter);
  d.Place(relative, 1560, 630, 1725, 255);
  d.Check(list, chkRight, "Right", 3390, 615, 915);
  d.Check(list, chkBelow, "Below", 1995, 975, 975);
}

void MakeMargins(const Design& d, QWidget* dialog) {
  QGroupBox* margins = Frame(d, dialog, "Margins", 120, 3285, 2475, 1680);
  const char* sides[] = {"Top", "Bottom", "Left", "Right"};
  for (int side = kTopMargin; side <= kRightMargin; ++side) {
    const int top = 300 + side * 345;
    auto* label = new QLabel(QString::fromUtf8(sides[side]), margins);
    d.Place(label, 180, top + 15, 735, 270);
    auto* box = Design::Named(new QLineEdit(margins), txtMargin[side]);
    d.Place(box, 960, top, 915, 300);
    d.Place(Design::Named(new SpinButton(margins), spnMargin[side]), 1875, top, 255, 300);
  }
}

void MakeFonts(const Design& d, QWidget* dialog) {
  QGroupBox* fonts = Frame(d, dialog, "Fonts", 2700, 3285, 2475, 3120);
  const std::pair<Control, const char*> buttons[] = {{cmdTitleFont, "&Title"},
                                                     {cmdInstructionsFont, "&Instructions"},
                                                     {cmdPuzzleFont, "PU&ZZLE"},
                                                     {cmdWordListFont, "&WORD LIST"}};
  int top = 285;
  for (auto [button, caption] : buttons) {
    d.Button(fonts, button, caption, 120, top, 2235, 630);
    top += 690;
  }
}

void MakePrintingOptions(const Design& d, QWidget* dialog) {
  QGroupBox* printing = Frame(d, dialog, "Printing Options", 120, 5055, 2475, 1455);
  d.Check(printing, chkPrintInstructions, "Print i&nstructions", 135, 255, 2250);
  d.Check(printing, chkPrintWordList, "Print word &list", 135, 540, 2250);
  d.Check(printing, chkOutlineWords, "&Outline words", 135, 825, 2250);
  d.Check(printing, chkFillPage, "&Fill the page", 135, 1110, 2250);
}

// A dark grey shadow that keeps behind a widget, `offset` pixels to the right and below,
// whatever size the widget is given.
class Shadow : public QWidget {
 public:
  Shadow(QWidget* owner, int offset) : QWidget(owner->parentWidget()), owner_(owner), offset_(offset) {
    Filled(this, QColor(64, 64, 64));
    owner->installEventFilter(this);
    Follow();
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize) Follow();
    return QWidget::eventFilter(watched, event);
  }

 private:
  void Follow() {
    setGeometry(owner_->geometry().translated(offset_, offset_));
    stackUnder(owner_);
  }
  QWidget* owner_;
  int offset_;
};

// The thumbnail: the page at a third of its size (a Letter page; another paper as the
// print options dialog sizes it), with a dark grey shadow behind it. Its children are
// placed in page twips.
void MakeThumbnail(const Design& d, QWidget* dialog) {
  constexpr int kLeft = 5325;
  constexpr int kTop = 150;
  constexpr int kWidth = kThumbnailPaper.Width / 3;
  constexpr int kHeight = kThumbnailPaper.Height / 3;
  constexpr int kShadowOffset = 90;
  QWidget* thumbnail = Filled(Design::Named(new QFrame(dialog), picLayout), Qt::white);
  d.Place(thumbnail, kLeft, kTop, kWidth, kHeight);
  new Shadow(thumbnail, d.Px(kShadowOffset));
  FormBinder::SetUserScale(thumbnail, 3);

  auto* margins = Design::Named(new QFrame(thumbnail), shpMargins);
  margins->setFrameShape(QFrame::Box);
  margins->setAttribute(Qt::WA_TransparentForMouseEvents);
  QPalette grey = margins->palette();
  grey.setColor(QPalette::WindowText, QColor(128, 128, 128));
  margins->setPalette(grey);

  const QFont block_font = MakeFont("Arial", 6.75, true, false);
  const std::pair<Control, const char*> blocks[] = {{lblTitle, "Title"},
                                                    {lblInstructions, "Instructions"},
                                                    {lblPuzzle, "PUZZLE"},
                                                    {lblSideList, "LIST"},
                                                    {lblColumnList, "LIST"}};
  for (auto [label, caption] : blocks) {
    auto* block = Design::Named(new QLabel(QString::fromUtf8(caption), thumbnail), label);
    Filled(block, QColor(192, 192, 192));
    block->setFrameShape(QFrame::Box);
    block->setAlignment(Qt::AlignCenter);
    block->setFont(block_font);
    block->hide();  // until the first layout places it
  }

  // Under the thumbnail's shadow: said only when the word list cannot be printed whole.
  auto* too_long = Design::Named(
      new QLabel(QString::fromUtf8(kListTooLongText.data(), kListTooLongText.size()), dialog), lblListTooLong);
  too_long->setAlignment(Qt::AlignCenter);
  QPalette red = too_long->palette();
  red.setColor(QPalette::WindowText, QColor(192, 0, 0));
  too_long->setPalette(red);
  d.Place(too_long, kLeft, kTop + kHeight + kShadowOffset + 60, kWidth + kShadowOffset, 285);
  too_long->hide();
}

// A strip of the window's own colour across its top, over the page scrolled up under
// it, as wide as the window.
class TopStrip : public QWidget {
 public:
  TopStrip(QWidget* window, int height) : QWidget(window), height_(height) {
    setAutoFillBackground(true);
    window->installEventFilter(this);
    setGeometry(0, 0, window->width(), height_);
    raise();
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Resize) setGeometry(0, 0, parentWidget()->width(), height_);
    return QWidget::eventFilter(watched, event);
  }

 private:
  int height_;
};

// The mouse wheel over the preview's page scrolls it down and up, Shift+wheel (or a
// sideways wheel) across.
class PreviewWheel : public QObject {
 public:
  PreviewWheel(QObject* parent, PrintPreview& preview) : QObject(parent), preview_(preview) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Wheel) return QObject::eventFilter(watched, event);
    auto* wheel = static_cast<QWheelEvent*>(event);
    const QPoint delta = wheel->angleDelta();
    const bool sideways = delta.y() == 0 && delta.x() != 0;
    const bool across = sideways || (wheel->modifiers() & Qt::ShiftModifier);
    // Away from the user (a positive delta) shows what is above or to the left.
    rest_ += sideways ? delta.x() : delta.y();
    const int notches = rest_ / QWheelEvent::DefaultDeltasPerStep;
    rest_ -= notches * QWheelEvent::DefaultDeltasPerStep;
    if (notches != 0) preview_.Wheel(-notches, across);
    return true;
  }

 private:
  PrintPreview& preview_;
  int rest_ = 0;  // part of a notch from a fine-grained wheel or touchpad
};

}  // namespace

QDialog* MakePrintOptionsDialog(const Design& d, QWidget* parent) {
  auto* dialog = Design::Named(new QDialog(parent), frmPrintOptions::kWindow);
  dialog->setWindowTitle(QStringLiteral("Print Options"));
  dialog->setFont(MakeFont("MS Sans Serif", 8.25, true, false));
  dialog->setFixedSize(d.Px(9585), d.Px(6600));
  dialog->setModal(false);

  MakePositioning(d, dialog);
  MakeMargins(d, dialog);
  MakeFonts(d, dialog);
  MakePrintingOptions(d, dialog);
  MakeThumbnail(d, dialog);

  const std::pair<Control, const char*> buttons[] = {
      {cmdPreview, "Pre&view"}, {cmdPrinter, "P&rinter..."}, {cmdPrint, "&Print"}, {cmdCancel, "&Close"}};
  int left = 5325;
  for (auto [button, caption] : buttons) {
    d.Button(dialog, button, caption, left, 6030, 960, 375);
    left += 1040;
  }
  return dialog;
}

QDialog* MakePrintPreviewWindow(const Design& d, QWidget* parent, QtImageSurface& page, PrintPreview& preview) {
  constexpr int kWidth = 10725;
  constexpr int kHeight = 7710;
  constexpr int kBar = 255;
  auto* window = Design::Named(new QDialog(parent), frmPrintPreview::kWindow);
  window->setWindowTitle(QStringLiteral("Print Preview"));
  window->setFont(MakeFont("MS Sans Serif", 8.25, true, false));
  window->setModal(false);
  window->resize(d.Px(kWidth), d.Px(kHeight));

  // Close stands in a strip along the top; the page lies below it, under the bars,
  // which stay where the window puts them.
  auto* picture = Design::Named(new PuzzlePicture(page, window), frmPrintPreview::picPrintPreview);
  d.Place(picture, 0, kPreviewStripTwips, kLetterPaper.Width, kLetterPaper.Height);
  picture->installEventFilter(new PreviewWheel(window, preview));
  d.Place(Design::Named(new QScrollBar(Qt::Horizontal, window), frmPrintPreview::HScrollBar), 0, kHeight - kBar,
          kWidth - kBar, kBar);
  d.Place(Design::Named(new QScrollBar(Qt::Vertical, window), frmPrintPreview::VScrollBar), kWidth - kBar,
          kPreviewStripTwips, kBar, kHeight - kBar - kPreviewStripTwips);
  new TopStrip(window, d.Px(kPreviewStripTwips));
  d.Button(window, frmPrintPreview::Close, "&Close", 120, 60, 1095, 375)->raise();
  return window;
}

}  // namespace kivrel
