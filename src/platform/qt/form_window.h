// The form's top-level window: a fixed size, a title bar with the system
// menu, minimise and close boxes but no maximise box. Closing it is
// reported, never refused: the window layer ends the program at its next
// processing of events, and the window stays on the screen until then.
#pragma once

#include <QSize>
#include <QWidget>
#include <functional>

namespace tav::qt {

// The frame this layer assumes around the client area when it turns the
// form's outer sizes into client sizes: a border on each side of a
// fixed-size window and a title bar, so that the form's outer size leaves
// a client area that holds every control with a margin on the right and
// at the bottom.
inline constexpr int kFrameBorder = 7;
inline constexpr int kTitleBar = 23;

QSize client_size_of(int outer_width, int outer_height);

class FormWindow final : public QWidget {
 public:
  explicit FormWindow(std::function<void()> on_close);

  // Keeps the top-left corner of the frame where it is.
  void set_outer_size(int width, int height);
  // Centred on the primary screen; odd halves are truncated.
  void centre_outer(int width, int height);

  // The form's command besides its controls: the item of the form's context
  // menu, and Ctrl+Z anywhere on the form, also in its text fields.
  void add_command(const QString& text, std::function<void()> run);

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void()> on_close_;
};

}  // namespace tav::qt
