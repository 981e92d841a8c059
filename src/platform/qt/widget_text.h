// The text of a control, whatever its kind: the caption of a button, check
// box or label, the content of an edit field, the edit field of a combo
// box, and the title of the form (and of a list box, which shows none).
#pragma once

#include <string>
#include <string_view>

class QWidget;

namespace tav::qt {

void set_widget_text(QWidget& widget, std::string_view text);
std::string widget_text(const QWidget& widget);

}  // namespace tav::qt
