// The system side of the file operations, one implementation per platform.
// A call that answers a Code gives a Windows system error code (0 for
// success); platforms other than Windows translate their own codes to these,
// so that one table turns them into run-time error numbers everywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system_codes.h"

namespace tav::sys {

// Whether "*" and "?" are ordinary characters of names on this platform.
extern const bool kNamesMayHoldWildcards;

Code create_folder(std::string_view path);
Code remove_folder(std::string_view path);

// A name the system reserves for a device (such as CON or LPT1 on Windows).
bool is_device_name(std::string_view path);
// Deletes a file; a folder at path answers kFileNotFound, as a missing file.
Code delete_file(std::string_view path);

// A small file read whole, and replaced whole (flushed before it takes the
// old one's place). Written once, in file_copy.cpp, over the calls that
// follow; so are the copies (copy_batch.cpp).
Code read_file(std::string_view path, std::string& content);
Code replace_file(std::string_view path, std::string_view content);

// A file descriptor or a HANDLE; -1 is none on both.
using Handle = std::intptr_t;
inline constexpr Handle kNoHandle = -1;

struct SystemTime {
  std::int64_t seconds = 0, nanoseconds = 0;  // from the system's own epoch
};

// What a copy takes over from its source.
struct FileFacts {
  bool folder = false;
  std::uint32_t attributes = 0;           // Windows' attribute bits, or the POSIX mode
  SystemTime created, accessed, written;  // POSIX keeps no creation time
};

// These answer kNoHandle, false or -1 when the system refuses; last_code then
// gives the refusal's code for the path the user named (by which POSIX tells
// a missing file from a missing folder).
Code last_code(std::string_view path);
Handle open_to_read(std::string_view path);  // shared with writers on Windows
Handle open_source(std::string_view path);   // shared with readers only
bool read_facts(Handle file, FileFacts& facts);
Handle create_new_file(std::string_view path);
std::ptrdiff_t read_some(Handle file, char* buffer, std::size_t size);  // 0 at the end
std::ptrdiff_t write_some(Handle file, const char* data, std::size_t size);  // 0: again
// What the copies of one run learn of the devices they are written to:
// those whose files show one mode whatever is asked (a FAT or exFAT driver
// in user space), where a copy is not asked for its source's mode again.
struct CopyDevices {
  std::vector<std::uint64_t> showing_one_mode;
};
bool keep_times(Handle copy, const FileFacts& source, CopyDevices& devices);  // and the POSIX mode
bool keep_attributes(std::string_view copy, const FileFacts& source);  // once in place
// The times keep_times sets, set again on the file at path (not through a
// link): for a copy in place whose file system stamped it anew when it took
// its name (some FAT drivers give a renamed file the time of the rename).
bool set_times(std::string_view path, const FileFacts& source);
// The seconds of a time of FileFacts counted from 1970-01-01 (UTC), as a
// listing counts a write time.
std::int64_t seconds_since_1970(const SystemTime& time);
// Writes the files' data to their media (and what the system needs to find
// them again): one file system flush per medium where that is quicker.
bool flush_files(std::span<const Handle> files);
// Writes to their media the entries of these folders (the files placed,
// deleted and made in them): one flush of each file system they are on
// where the system has one, else each folder's own entries, as far as an
// ordinary user may flush them.
bool flush_folders(std::span<const std::string> folders);
// Lets the system start writing a finished file to its medium while other
// work goes on, where it can (a hint: nothing waits for it).
void start_writing(Handle file);
// Closes a file that was written: false when the system reports that its
// data may not have reached the file.
bool close_file(Handle file);
// Closes a file that was only read.
void release_file(Handle file);
// A rename over what stands at to, refused where a folder or a read-only
// file stands there (as Windows refuses it everywhere).
bool rename_over(std::string_view from, std::string_view to);
// A rename that refuses to replace anything (kAlreadyExists then).
bool rename_new(std::string_view from, std::string_view to);
// The same to a name a kept run handed out, free by its making: where the
// file system cannot refuse in the rename itself, the name is not looked at
// first (through FUSE a look at a name that is not there is a round trip).
bool rename_into_kept(std::string_view from, std::string_view to);
// Puts from in the place of to and keeps what stood at to as keep_as (a
// name a kept run handed out, on the same volume): never a moment in which
// to names neither without keep_as holding the old file. Refused, as
// rename_over is, where a folder or a read-only file stands at to.
bool replace_keeping(std::string_view from, std::string_view to, std::string_view keep_as);

// Hides a folder of the program's own from the system's file views, where
// the system has a mark for it (on Linux its leading dot hides it already).
bool hide(std::string_view path);

// Temporary files are named kTemporaryHiding, kTemporaryStem, process number,
// "-", counter, kTemporarySuffix. On Linux a leading dot hides them.
inline constexpr std::string_view kTemporaryStem = "~tavrelon-";
inline constexpr std::string_view kTemporarySuffix = ".tmp";
extern const std::string_view kTemporaryHiding;
unsigned process_id();

}  // namespace tav::sys
