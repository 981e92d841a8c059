// The detail word of every failing step, named once: the operation in the
// second byte and the step in the lowest (the control operations' words are
// made from their families, control_errors.h).
#pragma once

#include <cstdint>

namespace tav::detail {

inline constexpr std::uint32_t kOutOfMemory = 0x00000701;
inline constexpr std::uint32_t kSubscript = 0x0000BB01;
inline constexpr std::uint32_t kOpenTooLong = 0x00002001;
inline constexpr std::uint32_t kOpenRefused = 0x00002004;
inline constexpr std::uint32_t kWriteRefused = 0x00002005;
inline constexpr std::uint32_t kMalformedField = 0x00002201;
inline constexpr std::uint32_t kDeleteTooLong = 0x00008601;
inline constexpr std::uint32_t kDeleteDevice = 0x00008602;
inline constexpr std::uint32_t kDeleteNoFile = 0x00008603;
inline constexpr std::uint32_t kDeleteRefused = 0x00008605;
inline constexpr std::uint32_t kCopyRefused = 0xC0000201;
inline constexpr std::uint32_t kCopyPathTooLong = 0xC0000202;
inline constexpr std::uint32_t kSearchPatternTooLong = 0xC0000501;
inline constexpr std::uint32_t kMakeFolderTooLong = 0xC0000A01;
inline constexpr std::uint32_t kMakeFolderRefused = 0xC0000A02;
inline constexpr std::uint32_t kRemoveFolderTooLong = 0xC0000C01;
inline constexpr std::uint32_t kRemoveFolderRefused = 0xC0000C02;
inline constexpr std::uint32_t kFileExistsStar = 0xC0000D02;
inline constexpr std::uint32_t kFileExistsQuestion = 0xC0000D03;
inline constexpr std::uint32_t kFolderExistsStar = 0xC0000E05;
inline constexpr std::uint32_t kFolderExistsQuestion = 0xC0000E06;
// The state the program keeps on a volume: the journal of a run, what a run
// keeps, and the record of a pair's last run.
inline constexpr std::uint32_t kJournalRefused = 0xC0001001;
inline constexpr std::uint32_t kKeepRefused = 0xC0001002;
inline constexpr std::uint32_t kPutBackRefused = 0xC0001003;
// A place of the state that is a link, a junction, a device or on another
// volume: nothing is written through it.
inline constexpr std::uint32_t kStateRefused = 0xC0001004;

}  // namespace tav::detail
