// Whole-file writes, deletion and existence checks by ANSI path.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

constexpr std::uint32_t kInvalidFileAttributes = 0xFFFFFFFF;

class Files {
 public:
  virtual ~Files() = default;
  // CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  // if it opened, one WriteFile of all bytes and CloseHandle. False when the
  // file did not open or not every byte was written.
  virtual bool WriteWholeFile(const char* path, const std::uint8_t* data, std::size_t size) = 0;
  // DeleteFileA(path).
  virtual bool RemoveFile(const char* path) = 0;
  // GetFileAttributesA(path); kInvalidFileAttributes when there is no such file.
  virtual std::uint32_t FileAttributes(const char* path) = 0;
};

}  // namespace platform
