#pragma once
// The program's entry on whatever display back end is installed: sets the application's
// title, creates the main window and the hidden about box, runs the message loop until the
// main window closes and shows any exception that escapes through the application's
// exception display. Always returns 0.
int WinMain();

// The application's title.
inline constexpr const char* ProgramTitle = "Пересчет коэффициентов ЛОРМ";
