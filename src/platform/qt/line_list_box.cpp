#include "platform/qt/line_list_box.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <algorithm>

#include "platform/qt/qt_text.h"

namespace tav::qt {

namespace {

// Room left of each line's text.
constexpr int kTextIndent = 2;

}  // namespace

LineListBox::LineListBox(bool sorted, Reports reports, QWidget* parent)
    : QAbstractScrollArea(parent), lines_(sorted), reports_(std::move(reports)) {
  setFocusPolicy(Qt::StrongFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  viewport()->setBackgroundRole(QPalette::Base);
  viewport()->setAutoFillBackground(true);
  verticalScrollBar()->setSingleStep(1);
}

std::string LineListBox::line(int row) const {
  return row >= 0 && row < count() ? lines_.at(row) : std::string();
}

void LineListBox::clear() {
  lines_.clear();
  selected_ = -1;
  update_scroll_range();
  verticalScrollBar()->setValue(0);
  viewport()->update();
}

void LineListBox::add(std::string_view line) {
  const int row = lines_.add(line);
  // The selected line stays selected where the new one goes before it.
  if (selected_ >= row) ++selected_;
  update_scroll_range();
  if (row < top_row() + rows_in_view()) viewport()->update();
}

void LineListBox::fill(const std::vector<std::string>& lines) {
  lines_.assign(lines);
  selected_ = -1;
  update_scroll_range();
  verticalScrollBar()->setValue(0);
  viewport()->update();
}

int LineListBox::row_height() const { return std::max(QFontMetrics(font()).height(), 1); }

int LineListBox::rows_in_view() const {
  return std::max(viewport()->height() / row_height(), 1);
}

int LineListBox::top_row() const { return verticalScrollBar()->value(); }

int LineListBox::row_at(const QPoint& point) const {
  const int row = top_row() + point.y() / row_height();
  return point.y() >= 0 && row < count() ? row : -1;
}

QRect LineListBox::row_rect(int row) {
  scroll_into_view(row);
  return {0, (row - top_row()) * row_height(), viewport()->width(), row_height()};
}

void LineListBox::update_scroll_range() {
  QScrollBar& bar = *verticalScrollBar();
  bar.setRange(0, std::max(count() - rows_in_view(), 0));
  bar.setPageStep(rows_in_view());
}

void LineListBox::scroll_into_view(int row) {
  if (row < top_row()) {
    verticalScrollBar()->setValue(row);
  } else if (row >= top_row() + rows_in_view()) {
    verticalScrollBar()->setValue(row - rows_in_view() + 1);
  }
}

void LineListBox::select(int row) {
  if (row < 0 || row >= count()) return;
  scroll_into_view(row);
  if (row == selected_) return;
  selected_ = row;
  viewport()->update();
  reports_.selection_changed();
}

void LineListBox::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  const int height = row_height();
  const int last = std::min(count(), top_row() + viewport()->height() / height + 1);
  for (int row = top_row(); row < last; ++row) {
    const QRect rect(0, (row - top_row()) * height, viewport()->width(), height);
    const bool selected = row == selected_;
    if (selected) painter.fillRect(rect, palette().brush(QPalette::Highlight));
    painter.setPen(palette().color(selected ? QPalette::HighlightedText : QPalette::Text));
    const std::string& text = lines_.at(row);
    painter.drawText(rect.adjusted(kTextIndent, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     qt_text(text));
    if (selected && hasFocus()) {
      QStyleOptionFocusRect option;
      option.initFrom(this);
      option.rect = rect;
      style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
  }
}

void LineListBox::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  update_scroll_range();
}

// The scroll bar counts rows: the rows in view are drawn anew.
void LineListBox::scrollContentsBy(int, int) { viewport()->update(); }

void LineListBox::changeEvent(QEvent* event) {
  QAbstractScrollArea::changeEvent(event);
  if (event->type() == QEvent::FontChange) {
    update_scroll_range();
    viewport()->update();
  }
}

void LineListBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) select(row_at(event->position().toPoint()));
}

void LineListBox::mouseDoubleClickEvent(QMouseEvent* event) {
  const int row = row_at(event->position().toPoint());
  if (event->button() != Qt::LeftButton || row < 0) return;
  select(row);
  reports_.double_clicked();
}

void LineListBox::keyPressEvent(QKeyEvent* event) {
  const int page = rows_in_view();
  const int from = std::max(selected_, 0);
  switch (event->key()) {
    case Qt::Key_Up: select(std::max(selected_ - 1, 0)); break;
    case Qt::Key_Down: select(std::min(selected_ + 1, count() - 1)); break;
    case Qt::Key_PageUp: select(std::max(from - page + 1, 0)); break;
    case Qt::Key_PageDown: select(std::min(from + page - 1, count() - 1)); break;
    case Qt::Key_Home: select(0); break;
    case Qt::Key_End: select(count() - 1); break;
    default: QAbstractScrollArea::keyPressEvent(event); return;
  }
  event->accept();
}

}  // namespace tav::qt
