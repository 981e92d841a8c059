#include "platform/runtime_error.h"

#include <array>
#include <string_view>
#include <utility>

namespace tav {

namespace {

std::string base_name(std::string_view path) {
  const auto cut = path.find_last_of("/\\");
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

// Windows system error code -> run-time error number, searched in order.
constexpr std::array<std::pair<std::uint32_t, int>, 38> kSystemCodes{{
    {1, 5},    {2, 63},   {3, 63},   {4, 66},   {5, 75},   {8, 7},    {11, 71},  {12, 75},
    {14, 7},   {15, 72},  {16, 72},  {17, 72},  {18, 67},  {19, 73},  {20, 60},  {21, 72},
    {26, 71},  {27, 71},  {28, 60},  {29, 67},  {30, 54},  {32, 75},  {33, 75},  {34, 60},
    {39, 67},  {50, 28},  {65, 55},  {80, 64},  {87, 5},   {108, 59}, {110, 63}, {111, 61},
    {112, 67}, {113, 66}, {123, 55}, {183, 64}, {267, 55}, {1155, 55},
}};

}  // namespace

RuntimeError::RuntimeError(int number, std::uint32_t detail, std::source_location where,
                           std::optional<std::uint32_t> system_code)
    : number_(number),
      detail_(detail),
      file_(base_name(where.file_name())),
      line_(where.line()),
      system_code_(system_code) {}

void raise_error(int number, std::uint32_t detail, std::source_location where) {
  throw RuntimeError(number, detail, where);
}

void raise_out_of_range(std::source_location where) {
  constexpr std::uint32_t kDetailSubscript = 0x0000BB01;
  raise_error(err::kOutOfRange, kDetailSubscript, where);
}

void raise_system_error(std::uint32_t system_code, std::uint32_t detail,
                        std::source_location where) {
  throw RuntimeError(error_number_of_system_code(system_code), detail, where, system_code);
}

int error_number_of_system_code(std::uint32_t system_code) {
  for (const auto& [code, number] : kSystemCodes) {
    if (code == system_code) return number;
  }
  return err::kUnknown;
}

}  // namespace tav
