#pragma once
// Reading and writing of the .cnv gas database file: a signed 32-bit little-endian record
// count followed by that many 56-byte record images. Every failure is reported to the
// user in a message box (caption "Чтение файла " or "Запись файла ").
#include <cstddef>
#include <functional>
#include <string>

#include "app/Class_myrecord.h"

// The most records the program holds and shows (the record list and the rows of both
// grids); a file holding more loads this many and reports a read error.
inline constexpr std::size_t MaxGasRecords = 1000000;

// Reads the file and inserts its records, in file order, in front of the records the list
// already holds; then runs `refresh` (the main window refreshes its grids). An empty file
// or a count below 1 shows "Файл  пуст!" and leaves the list alone. A missing file is
// created empty. Returns false only when the file can be neither opened nor created.
bool LoadGasBase(const std::string& fileName, TRecordList& list,
                 const std::function<void()>& refresh);

// Writes the whole list. The new contents go to a temporary file in the same folder that
// replaces the old file only once every byte is written and flushed; on any failure the
// old file stays as it was, an error box is shown and the result is false.
bool SaveGasBase(const std::string& fileName, const TRecordList& list);

// Makes a write beyond the file-size limit fail with EFBIG instead of killing the program
// with SIGXFSZ, so a failed save removes its temporary file and reports the error. Leaves
// a handler that someone installed alone. The program calls it at start; every save
// calls it too.
void IgnoreFileSizeSignal();

// The texts the reader and writer show.
namespace GasBaseMessages {
inline constexpr const char* ReadCaption = "Чтение файла ";
inline constexpr const char* WriteCaption = "Запись файла ";
inline constexpr const char* CannotOpen = "Не удается открыть файл !\n Файл будет создан заново.";
inline constexpr const char* CannotOpenExisting = "Не удается открыть файл !";
inline constexpr const char* CannotCreate = "Не удается создать файл !";
inline constexpr const char* Empty = "Файл  пуст!";
inline constexpr const char* ReadError = "Ошибка чтения файла";
inline constexpr const char* WriteError = "Ошибка записи файла";
} // namespace GasBaseMessages
