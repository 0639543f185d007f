#pragma once
// A headless run of the program's windows in a fresh, empty folder: the main window is
// created and shown as the program does, message boxes are recorded and answered, and the
// record list starts empty.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/Unitabout.h"
#include "app/Unitconverting.h"
#include "platform/backend/Headless.h"
#include "platform/backend/Robot.h"
#include "platform/rtl/MessageService.h"
#include "platform/vcl/Dialogs.h"

class MainWindowTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // Creates the main window (and the hidden about box) as the program does and shows it.
  void StartProgram();
  // Closes the main window as the user does and runs what is pending.
  void CloseProgram();

  // Writes a .cnv file of the given records into the test folder.
  void WriteBase(const std::string& name, const TRecordList& records);
  static TMyRecord Gas(const std::string& name, const std::string& formula, float density, float heat,
                       float conductivity, float viscosity);
  // A list of n records named "Газ1" … "Газn" with distinct values.
  static TRecordList Gases(int n);
  std::string FileBytes(const std::string& name) const;

  std::string Cell(TDavEvadurAvuz* grid, int col, int row);
  int Rows(TDavEvadurAvuz* grid);
  // Clicks a data cell of a grid (its current cell and selection change as the user's).
  void ClickCell(TDavEvadurAvuz* grid, int col, int row);
  std::vector<std::string> GridNames(TDavEvadurAvuz* grid);

  std::unique_ptr<THeadlessScope> FScope;
  std::unique_ptr<TMessageBoxRecorder> FBoxes;
  std::unique_ptr<TFileDialogRecorder> FDialogs;
  std::filesystem::path FOldDir;
  std::filesystem::path FDir;
  TRobot FRobot;
  TForm1* F = nullptr;
};
