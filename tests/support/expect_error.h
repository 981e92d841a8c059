// Runs a statement that must raise a run-time error and hands the error back.
#pragma once

#include <gtest/gtest.h>

#include <optional>

#include "errors/runtime_error.h"

namespace tav::test {

template <typename Statement>
std::optional<RuntimeError> raised_by(Statement&& statement) {
  try {
    statement();
  } catch (const RuntimeError& error) {
    return error;
  }
  ADD_FAILURE() << "no run-time error was raised";
  return std::nullopt;
}

// The error number raised by the statement, or 0 if none was raised.
template <typename Statement>
int error_number_of(Statement&& statement) {
  const auto error = raised_by(statement);
  return error ? error->number() : 0;
}

}  // namespace tav::test
