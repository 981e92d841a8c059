#include "errors/error_report.h"

#include <cstdio>

#include "platform/local_time.h"

namespace tav {

namespace {
constexpr std::string_view kMode = "独立型";
constexpr std::string_view kRuntimeVersion = "V6.30 L10 U002+1";
}  // namespace

std::string program_name_of(std::string_view executable_path) {
  const auto slash = executable_path.find_last_of("/\\");
  std::string_view name =
      slash == std::string_view::npos ? executable_path : executable_path.substr(slash + 1);
  const auto dot = name.rfind('.');
  if (dot != std::string_view::npos) name = name.substr(0, dot);
  return std::string(name);
}

std::string report_line(const RuntimeError& error) {
  return "\r\n" + error.file() + " [" + std::to_string(error.line()) + "行]:エラー[" +
         std::to_string(error.number()) + "]";
}

std::string local_time_text(std::time_t when) {
  const LocalStamp local = local_stamp(when);
  char text[80];
  std::snprintf(text, sizeof text, "%d/%02d/%02d %02d:%02d:%02d", local.year, local.month,
                local.day, local.hour, local.minute, local.second);
  return text;
}

ErrorReport build_error_report(const RuntimeError& error, std::string_view program_name) {
  ErrorReport report{std::string(program_name) + ".EXE", report_line(error)};
  if (const auto message = error_message(error.number()); !message.empty()) {
    report.text += "\n";
    report.text += message;
  }
  return report;
}

LastErrorRecord make_last_error_record(const RuntimeError& error, std::string_view time_text) {
  LastErrorRecord record;
  record.modl = error.file();
  record.line = error.line();
  record.code = static_cast<std::uint32_t>(error.number());
  record.func = error.detail() >> 8;
  record.info = error.detail() & 0xFF;
  record.time = std::string(time_text);
  record.mode = std::string(kMode);
  record.rtl = std::string(kRuntimeVersion);
  record.apierr = error.system_code();
  return record;
}

void report_runtime_error(const RuntimeError& error, std::string_view program_name,
                          const std::function<void(const ErrorReport&)>& show_box) noexcept {
  try {
    store_last_error_record(make_last_error_record(error, local_time_text(std::time(nullptr))));
    show_box(build_error_report(error, program_name));
  } catch (...) {
    // A report in progress is never reported again; the program ends anyway.
  }
}

}  // namespace tav
