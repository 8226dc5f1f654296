#pragma once
// What a file operation gives back: the value, or why there is none. Every reader and
// writer of the program (files, puzzles, word lists, page files) answers this way and
// never talks to the user; the caller turns the error into its message.
#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace kivrel {

/// What went wrong, as far as a caller has to tell the cases apart.
enum class FileFault {
  /// The file cannot be read, or nothing can be written there at all (a folder, no
  /// permission, a missing folder): nothing was changed, and another name may help.
  CannotOpen,
  /// Writing failed part-way (a full disk, a file-size limit, a failed rename): the
  /// file that was there, if any, is as it was.
  WriteFailed,
  /// Of several files saved together, this one could not take the place of its file
  /// after the ones before it had: those are new, this one and the rest are as they were.
  PartlyReplaced,
  /// The bytes are not what the format holds (a reader refused them), or the data
  /// cannot be stored in it (a writer refused it).
  Invalid,
  /// The platform could not draw the page into a file's bytes.
  CannotDraw,
};

struct FileError {
  FileError(FileFault fault, std::string reason, std::string path = {}, std::size_t offset = 0)
      : Fault(fault), Reason(std::move(reason)), Path(std::move(path)), Offset(offset) {}

  FileFault Fault;
  /// Why, in the system's words ("No space left on device") or the reader's.
  std::string Reason;
  /// The file concerned, where an operation handles more than one; else "".
  std::string Path;
  /// Invalid, from a reader: the byte where it noticed.
  std::size_t Offset = 0;
};

/// The value, or the error that stands in its place.
template <typename T>
class [[nodiscard]] FileResult {
 public:
  FileResult(T value) : state_(std::move(value)) {}
  FileResult(FileError error) : state_(std::move(error)) {}

  explicit operator bool() const { return state_.index() == 0; }
  T& operator*() & { return std::get<0>(state_); }
  const T& operator*() const& { return std::get<0>(state_); }
  T&& operator*() && { return std::get<0>(std::move(state_)); }
  T* operator->() { return &std::get<0>(state_); }
  const T* operator->() const { return &std::get<0>(state_); }
  /// The value, or `fallback` when there is none.
  T ValueOr(T fallback) const { return *this ? **this : std::move(fallback); }
  /// Only when there is no value.
  const FileError& Error() const { return std::get<1>(state_); }

 private:
  std::variant<T, FileError> state_;
};

/// Done, or the error.
template <>
class [[nodiscard]] FileResult<void> {
 public:
  FileResult() = default;
  FileResult(FileError error) : error_(std::move(error)) {}

  explicit operator bool() const { return !error_; }
  /// Only when it failed.
  const FileError& Error() const { return *error_; }

 private:
  std::optional<FileError> error_;
};

}  // namespace kivrel
