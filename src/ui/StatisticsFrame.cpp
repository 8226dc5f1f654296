#include "ui/StatisticsFrame.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QStyleOptionGroupBox>
#include <QStylePainter>
#include <QTextDocument>

namespace kivrel {

void FigureLabel::SetFigure(const QString& text) {
  if (text == this->text()) return;
  setText(text);  // repaints the label while it paints itself
  Settle();
}

void FigureLabel::SetBox(const QRect& box) {
  // A label whose size may follow its text asks its frame to lay out again at every new
  // text (an event posted, the event loop woken): a figure's size is only ever its box's.
  setFixedSize(box.size().expandedTo(QSize(0, 0)));
  move(box.topLeft());
}

void FigureLabel::Settle() {
  const bool by_frame = LaidOut() != nullptr;
  if (by_frame == updatesEnabled()) setUpdatesEnabled(!by_frame);  // on again, the label repaints
  // Qt repaints nothing for a label left out of repaints: the frame under it.
  if (by_frame && parentWidget()) parentWidget()->update(geometry());
}

void FigureLabel::DrawOnFrame(QPainter& painter, const QRegion& region) {
  if (isHidden() || !region.intersects(geometry())) return;
  const QStaticText* text = LaidOut();
  if (!text) return;
  // As QLabel: on one line, from the left, in the middle of the height.
  const QRect box = contentsRect().translated(pos());
  painter.setFont(font());
  painter.setPen(palette().color(foregroundRole()));
  painter.drawStaticText(QPointF(box.x(), box.y() + (box.height() - line_height_) / 2), *text);
}

void FigureLabel::paintEvent(QPaintEvent* event) {
  if (!LaidOut()) QLabel::paintEvent(event);
}

void FigureLabel::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) {
    laid_out_.clear();
    line_height_ = -1;
  }
  QLabel::changeEvent(event);
  switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::EnabledChange:
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
    case QEvent::LayoutDirectionChange:
      Settle();
      break;
    default:
      break;
  }
}

void FigureLabel::showEvent(QShowEvent* event) {
  QLabel::showEvent(event);
  Settle();  // set up before it was shown (its alignment, say)
}

// Qt repaints the frame where the label was; where it is now is the label's to ask, and a
// figure may no longer fit.
void FigureLabel::moveEvent(QMoveEvent* event) {
  QLabel::moveEvent(event);
  Settle();
}

void FigureLabel::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  Settle();
}

// The text laid out, when the frame draws it: one plain line that fits (QLabel cuts off
// one that does not), that nothing of the label's own covers.
const QStaticText* FigureLabel::LaidOut() {
  const QString shown = text();
  if (shown.isEmpty() || shown.contains(QLatin1Char('\n')) || shown.contains(QLatin1Char('\t')) ||
      shown.contains(QChar::LineSeparator) || !isEnabled() || buddy() || wordWrap() || autoFillBackground() ||
      testAttribute(Qt::WA_StyleSheet) || frameShape() != QFrame::NoFrame || margin() != 0 || indent() > 0 ||
      alignment() != (Qt::AlignLeft | Qt::AlignVCenter) || layoutDirection() != Qt::LeftToRight ||
      textFormat() == Qt::RichText || (textFormat() == Qt::AutoText && Qt::mightBeRichText(shown))) {
    return nullptr;
  }
  if (line_height_ < 0) {
    const QFontMetricsF metrics(font());
    line_height_ = metrics.ascent() + metrics.descent();
  }
  auto laid = laid_out_.constFind(shown);
  if (laid == laid_out_.constEnd()) {
    if (laid_out_.size() >= kMostKept) laid_out_.clear();
    QStaticText text(shown);
    text.setTextFormat(Qt::PlainText);
    text.prepare(QTransform(), font());
    laid = laid_out_.insert(shown, text);
  }
  const QRect box = contentsRect();
  if (laid->size().width() > box.width() || line_height_ > box.height()) return nullptr;
  return &*laid;
}

StatisticsFrame::StatisticsFrame(const QString& title, QWidget* parent) : QGroupBox(title, parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void StatisticsFrame::paintEvent(QPaintEvent* event) {
  QStyleOptionGroupBox option;
  initStyleOption(&option);
  // What shows behind the frame is the background of the nearest widget that fills its
  // own (the window at the latest).
  const QWidget* backdrop = parentWidget();
  while (backdrop && !backdrop->isWindow() && !backdrop->autoFillBackground()) backdrop = backdrop->parentWidget();
  const double ratio = devicePixelRatioF();
  const Look look{option.rect,
                  option.state,
                  option.text,
                  option.textAlignment,
                  option.features,
                  option.subControls,
                  palette().cacheKey(),
                  font(),
                  ratio,
                  style(),
                  backdrop,
                  backdrop ? backdrop->palette().cacheKey() : 0,
                  backdrop ? mapTo(backdrop, QPoint(0, 0)) : QPoint()};
  if (frame_.isNull() || look != look_) {
    const QBrush behind = backdrop ? backdrop->palette().brush(backdrop->backgroundRole()) : QBrush();
    frame_ = QPixmap(option.rect.size() * ratio);
    frame_.setDevicePixelRatio(ratio);
    // An opaque picture is copied, not blended.
    if (!behind.isOpaque()) frame_.fill(Qt::transparent);
    if (behind.isOpaque() != testAttribute(Qt::WA_OpaquePaintEvent)) {
      setAttribute(Qt::WA_OpaquePaintEvent, behind.isOpaque());  // from the next repaint on
      update();
    }
    QStylePainter painter(&frame_, this);
    if (behind.isOpaque()) {
      painter.setBrushOrigin(-look.at);
      painter.fillRect(option.rect, behind);
    }
    painter.setFont(font());  // as a painter on the widget itself starts
    painter.drawComplexControl(QStyle::CC_GroupBox, option);
    look_ = look;
  }
  QPainter painter(this);
  // A rectangle at a time: Qt may draw a pixmap under a clip of several rectangles in
  // slices handed to other threads, and waiting for them costs more than the copy.
  for (const QRect& rect : event->region()) {
    painter.setClipRect(rect);
    painter.drawPixmap(0, 0, frame_);
  }
  painter.setClipping(false);
  for (QObject* child : children()) {
    if (auto* figure = dynamic_cast<FigureLabel*>(child)) figure->DrawOnFrame(painter, event->region());
  }
}

}  // namespace kivrel
