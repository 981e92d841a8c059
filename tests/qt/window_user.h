// A user at the real Qt window: plays the next action of a script each time
// the main flow waits with no event queued, through the widgets as mouse and
// keyboard would, and answers the message boxes in turn.
#pragma once

#include <QTimer>
#include <deque>
#include <functional>
#include <string>

#include "platform/qt/qt_window.h"

namespace tav::test {

class WindowUser {
 public:
  explicit WindowUser(qt::QtWindow& window);

  WindowUser& type(Control edit, std::string text);
  // Picks the item of COMBO1's list that reads so.
  WindowUser& choose_drive(std::string entry);
  WindowUser& click(Control button);
  // Ctrl+Z in a text field of the form: the form's undo command.
  WindowUser& press_undo_key();
  // A double-click on the row of a list box whose text starts so.
  WindowUser& double_click(Control list, std::string text_start);
  // The answers to the message boxes, in turn ("OK" when none is left).
  WindowUser& answer(Answer answer);

  // No more actions or answers: the user of another start takes over.
  void leave() { timer_.stop(); }

  // Message boxes that were shown, by their text.
  const std::vector<std::string>& boxes() const { return boxes_; }

 private:
  void tick();
  bool answer_box();

  qt::QtWindow& window_;
  QTimer timer_;
  std::deque<std::function<void()>> actions_;
  std::deque<Answer> answers_;
  std::vector<std::string> boxes_;
};

}  // namespace tav::test
