// A single-selection list box of text lines, drawn by itself: rows of one
// height, a vertical scroll bar that moves by rows, no horizontal scrolling
// (long lines are cut at the right edge). Only the rows in view are drawn,
// so adding, filling and painting cost the same with 10 lines or 100,000.
//
// A click selects the row under the pointer; a double-click selects it and
// then reports the double-click; the arrow, page and Home/End keys move the
// selection. Selection changes are reported as they happen.
#pragma once

#include <QAbstractScrollArea>
#include <functional>
#include <string>
#include <vector>

#include "platform/qt/line_store.h"

namespace tav::qt {

class LineListBox final : public QAbstractScrollArea {
 public:
  struct Reports {
    std::function<void()> selection_changed;
    std::function<void()> double_clicked;
  };

  LineListBox(bool sorted, Reports reports, QWidget* parent);

  int count() const { return lines_.size(); }
  // The line at a row; empty outside the list.
  std::string line(int row) const;
  int selected() const { return selected_; }

  void clear();
  void add(std::string_view line);
  void fill(const std::vector<std::string>& lines);

  // Where a row is drawn in the viewport, scrolling it into view first.
  QRect row_rect(int row);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void changeEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  int row_height() const;
  int rows_in_view() const;
  int top_row() const;
  // The row at a point of the viewport, -1 below the last.
  int row_at(const QPoint& point) const;
  void select(int row);
  void scroll_into_view(int row);
  void update_scroll_range();

  LineStore lines_;
  Reports reports_;
  int selected_ = -1;
};

}  // namespace tav::qt
