#include "errors/runtime_error.h"

#include <string_view>

#include "errors/detail_words.h"
#include "platform/system_codes.h"

namespace tav {

namespace {

std::string base_name(std::string_view path) {
  const auto cut = path.find_last_of("/\\");
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

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
  raise_error(err::kOutOfRange, detail::kSubscript, where);
}

void raise_system_error(std::uint32_t system_code, std::uint32_t detail,
                        std::source_location where) {
  throw RuntimeError(error_number_of_system_code(system_code), detail, where, system_code);
}

int error_number_of_system_code(std::uint32_t system_code) {
  switch (system_code) {  // the compiler refuses a code listed twice
#define TAV_NUMBER_OF_SYSTEM_CODE(name, code, error) case code: return err::k##error;
    TAV_SYSTEM_CODES(TAV_NUMBER_OF_SYSTEM_CODE)
#undef TAV_NUMBER_OF_SYSTEM_CODE
  }
  return err::kSystemRefused;
}

}  // namespace tav
