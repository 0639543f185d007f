#pragma once
// Opening and reading files whose names come from outside: a FIFO, terminal, device or
// folder named in place of a file neither hangs the caller in open() nor feeds it bytes
// without end, and no file is loaded into memory beyond a fixed size.
#include <cstdint>
#include <string>
#include <vector>

// The most any reader loads into memory from one file (1 GiB).
constexpr std::int64_t MaxLoadedFileSize = std::int64_t(1) << 30;

// Opens a regular file for reading; the open never blocks. Returns the descriptor (a
// blocking one, close-on-exec) or -1 with errno set: ENOENT, EACCES and the like from the
// system, EISDIR for a folder, EINVAL for any other file that is not a regular file.
int OpenFileForReading(const std::string& Name);

enum class TReadFileResult { Ok, NotFound, AccessDenied, NotRegular, TooLarge, ReadFailed };

// Reads the whole of a regular file of at most MaxSize bytes into Bytes (cleared on any
// failure). Interrupted reads are retried; a file that grows beyond MaxSize while being
// read is TooLarge.
TReadFileResult ReadFileBytes(const std::string& Name, std::vector<std::uint8_t>& Bytes,
                              std::int64_t MaxSize = MaxLoadedFileSize);
