// The clock that engines measuring intervals are handed, so that a test can
// hand them one of its own.
#pragma once

#include <chrono>
#include <functional>

namespace tav {

using SteadyClock = std::function<std::chrono::steady_clock::time_point()>;

}  // namespace tav
