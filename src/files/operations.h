// File and folder operations. Each either succeeds or raises a run-time
// error carrying the place of the calling statement. Paths are UTF-8, absolute
// or relative to the current folder, with the platform's separator.
#pragma once

#include <cstdint>
#include <source_location>
#include <string>
#include <string_view>
#include <vector>

namespace tav {

// The longest path the operations accept, counted in code page 932 bytes.
inline constexpr std::size_t kMaxPathBytes = 260;

// True for an existing entry that is not a folder (file_exists) or is a folder
// (folder_exists). A path that ends in the separator, or names a drive root,
// answers false. Wildcards raise error 55.
bool file_exists(std::string_view path,
                 std::source_location where = std::source_location::current());
bool folder_exists(std::string_view path,
                   std::source_location where = std::source_location::current());

// Creates one folder; its parent must exist.
void make_folder(std::string_view path,
                 std::source_location where = std::source_location::current());

// Removes one empty folder.
void remove_folder(std::string_view path,
                   std::source_location where = std::source_location::current());

// The same, but a folder that is not empty is left as it is: false then.
bool remove_empty_folder(std::string_view path,
                         std::source_location where = std::source_location::current());

// Deletes one file.
void delete_file(std::string_view path,
                 std::source_location where = std::source_location::current());

// Puts the file from in the place of the file at path, which is kept as
// keep_as (a name a kept run handed out), in one step where the system has
// one (all on one volume).
void put_in_place_keeping(std::string_view from, std::string_view path, std::string_view keep_as,
                          std::source_location where = std::source_location::current());

// Moves a file or a folder to a free name on the same volume, its folder
// existing.
void move_aside(std::string_view path, std::string_view to,
                std::source_location where = std::source_location::current());
// The same to a name a kept run handed out.
void keep_aside(std::string_view path, std::string_view kept_as,
                std::source_location where = std::source_location::current());

// Whether a name is one of the temporary files copies are written to, on
// this system or the other ("~tavrelon-" or ".~tavrelon-", a process
// number, "-", a counter, ".tmp"): one left by a killed process may stand
// in a tree.
bool is_temporary_name(std::string_view name);

// The whole content of a small file (the settings file).
std::string read_small_file(std::string_view path,
                            std::source_location where = std::source_location::current());

// Replaces the content of a small file whole or not at all.
void write_small_file(std::string_view path, std::string_view content,
                      std::source_location where = std::source_location::current());

// Writes the changes made in these folders to their media, so that the
// user may pull the medium as soon as the program says it is done. A
// refusal raises the error a batch's flush raises.
void flush_changes(const std::vector<std::string>& folders,
                   std::source_location where = std::source_location::current());

}  // namespace tav
