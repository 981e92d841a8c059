// The folder chooser behind BUTTON1: the platform's directory dialog,
// yielding the chosen folder or nothing.
#pragma once

#include <functional>
#include <string>

namespace tav::qt {

// Shows the dialog without an owner and without blocking the form, whose
// clicks are queued meanwhile, and waits for the answer. give_up is asked
// after each batch of events (the form has been closed, say) and closes
// the dialog unanswered. The chosen folder in UTF-8, or empty.
std::string choose_folder(const std::function<bool()>& give_up);

}  // namespace tav::qt
