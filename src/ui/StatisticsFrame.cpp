#include "ui/StatisticsFrame.h"

#include <QChildEvent>
#include <QEvent>
#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QStyleOptionGroupBox>
#include <QStylePainter>
#include <QTextDocument>
#include <cmath>

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
  const Laid* laid = LaidOut();
  drawn_ = laid ? std::optional<Laid>(*laid) : std::nullopt;
  const bool by_frame = drawn_.has_value();
  if (by_frame == updatesEnabled()) setUpdatesEnabled(!by_frame);  // on again, the label repaints
  // Qt repaints nothing for a label left out of repaints: the frame under it.
  if (by_frame && parentWidget()) parentWidget()->update(geometry());
}

void FigureLabel::DrawOnFrame(QPainter& painter, const QRegion& region, const QPixmap& frame) {
  if (isHidden() || !drawn_ || !region.intersects(geometry())) return;
  // As QLabel: on one line, from the left, in the middle of the height.
  const QRect box = contentsRect().translated(pos());
  const QPointF at(0, (box.height() - line_height_) / 2);  // from the box's corner
  auto draw = [&](QPainter& on, QPointF corner) {
    on.setFont(font());
    on.setPen(palette().color(foregroundRole()));
    on.drawStaticText(corner + at, drawn_->text);
  };
  if (CopiedBox(frame).isEmpty()) {
    draw(painter, box.topLeft());
    return;
  }
  const double ratio = frame.devicePixelRatio();
  const QRect under(box.topLeft() * ratio, box.size() * ratio);  // in the picture's pixels
  Laid& laid = *drawn_;
  if (laid.frame_key != frame.cacheKey() || laid.generation != over_frame_generation_) {
    laid.over_frame = frame.copy(under);
    laid.over_frame.setDevicePixelRatio(ratio);
    QPainter on(&laid.over_frame);
    draw(on, QPointF(0, 0));
    on.end();
    laid.frame_key = frame.cacheKey();
    laid.generation = over_frame_generation_;
    // Kept for the next time the figure shows this text.
    auto kept = laid_out_.find(Key{laid.text.text()});
    if (kept != laid_out_.end()) *kept = laid;
  }
  painter.drawPixmap(box.topLeft(), laid.over_frame);
}

QRect FigureLabel::CopiedBox(const QPixmap& frame) const {
  if (isHidden() || !drawn_) return {};
  const QRect box = contentsRect().translated(pos());
  const double ratio = frame.devicePixelRatio();
  // A translucent frame is drawn over what lies behind it: a copy of it with the figure
  // on would put it there twice. At a fractional ratio the box is no whole part of it.
  if (frame.hasAlphaChannel() || ratio != std::round(ratio) ||
      !frame.rect().contains(QRect(box.topLeft() * ratio, box.size() * ratio))) {
    return {};
  }
  return box;
}

void FigureLabel::paintEvent(QPaintEvent* event) {
  if (!drawn_) QLabel::paintEvent(event);
}

void FigureLabel::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) {
    laid_out_.clear();
    line_height_ = -1;
  }
  if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange) ForgetDrawn();
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
  ForgetDrawn();  // over another part of the frame
  QLabel::moveEvent(event);
  Settle();
}

void FigureLabel::resizeEvent(QResizeEvent* event) {
  ForgetDrawn();
  QLabel::resizeEvent(event);
  Settle();
}

// The text laid out, when the frame draws it: one plain line that fits (QLabel cuts off
// one that does not), that nothing of the label's own covers.
const FigureLabel::Laid* FigureLabel::LaidOut() {
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
  auto laid = laid_out_.constFind(Key{shown});
  if (laid == laid_out_.constEnd()) {
    if (laid_out_.size() >= kMostKept) laid_out_.clear();
    QStaticText text(shown);
    text.setTextFormat(Qt::PlainText);
    text.prepare(QTransform(), font());
    Laid made;
    made.text = text;
    laid = laid_out_.insert(Key{shown}, made);
  }
  const QRect box = contentsRect();
  if (laid->text.size().width() > box.width() || line_height_ > box.height()) return nullptr;
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
  if (!figures_known_) {
    figures_.clear();
    for (QObject* child : children()) {
      if (auto* figure = dynamic_cast<FigureLabel*>(child)) figures_.emplace_back(figure);
    }
    figures_known_ = true;
  }
  // The frame where no figure is copied over it (a build repaints its figures only).
  QRegion bare = event->region();
  for (const QPointer<FigureLabel>& figure : figures_) {
    if (figure) bare -= figure->CopiedBox(frame_);
  }
  QPainter painter(this);
  // A rectangle at a time: Qt may draw a pixmap under a clip of several rectangles in
  // slices handed to other threads, and waiting for them costs more than the copy.
  const bool whole_ratio = ratio == std::round(ratio);
  for (const QRect& rect : bare) {
    if (whole_ratio) {
      painter.drawPixmap(rect, frame_, QRect(rect.topLeft() * ratio, rect.size() * ratio));
    } else {
      painter.setClipRect(rect);
      painter.drawPixmap(0, 0, frame_);
      painter.setClipping(false);
    }
  }
  for (const QPointer<FigureLabel>& figure : figures_) {
    if (figure) figure->DrawOnFrame(painter, event->region(), frame_);
  }
}

void StatisticsFrame::childEvent(QChildEvent* event) {
  // A child just added is not yet all it will be: the figures are looked for at the next paint.
  if (event->added() || event->removed()) figures_known_ = false;
  QGroupBox::childEvent(event);
}

}  // namespace kivrel
