// Run-time errors. Every failing operation raises one: a number, a detail
// word naming the operation and its step, and the place of the statement
// that called the operation. It is caught once at the top of the program,
// reported, and ends the program.
#pragma once

#include <cstdint>
#include <exception>
#include <optional>
#include <source_location>
#include <string>

#include "errors/error_table.h"

namespace tav {

class RuntimeError : public std::exception {
 public:
  RuntimeError(int number, std::uint32_t detail, std::source_location where,
               std::optional<std::uint32_t> system_code = std::nullopt);

  int number() const { return number_; }
  std::uint32_t detail() const { return detail_; }
  // Base name of the source file of the statement that called the operation.
  const std::string& file() const { return file_; }
  unsigned line() const { return line_; }
  // The system's own code, when the error came from a refusal of the system.
  std::optional<std::uint32_t> system_code() const { return system_code_; }
  const char* what() const noexcept override { return "run-time error"; }

 private:
  int number_;
  std::uint32_t detail_;
  std::string file_;
  unsigned line_;
  std::optional<std::uint32_t> system_code_;
};

[[noreturn]] void raise_error(int number, std::uint32_t detail,
                              std::source_location where = std::source_location::current());

// Raises error 9: a table or list is full, or an index is out of its range.
[[noreturn]] void raise_out_of_range(std::source_location where = std::source_location::current());

// Raises the error that the system code (a Windows error code; other
// platforms translate their codes to these first) stands for.
[[noreturn]] void raise_system_error(std::uint32_t system_code, std::uint32_t detail,
                                     std::source_location where = std::source_location::current());

// The run-time error number of a Windows system error code.
int error_number_of_system_code(std::uint32_t system_code);

}  // namespace tav
