#include "MainWindowFixture.h"

#include <fstream>
#include <iterator>

#include "grid/VezIdid.h"
#include "office/ZorOzirazIrezi.h"
#include "platform/win/WinUser.h"

void MainWindowTest::SetUp() {
  FScope = std::make_unique<THeadlessScope>();
  Application->Restart();
  FBoxes = std::make_unique<TMessageBoxRecorder>(IDOK);
  FDialogs = std::make_unique<TFileDialogRecorder>();
  FOldDir = std::filesystem::current_path();
  FDir = std::filesystem::temp_directory_path() /
         ("lorm_app_" + std::to_string(::getpid()) + "_" +
          ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::filesystem::remove_all(FDir);
  std::filesystem::create_directories(FDir);
  std::filesystem::current_path(FDir);
  GasRecords().clear();
}

void MainWindowTest::TearDown() {
  Application->Restart();
  Form1 = nullptr;
  FormAbout = nullptr;
  F = nullptr;
  GasRecords().clear();
  std::filesystem::current_path(FOldDir);
  std::filesystem::remove_all(FDir);
  FDialogs.reset();
  FBoxes.reset();
  FScope.reset();
}

void MainWindowTest::StartProgram() {
  Application->SetTitle("Пересчет коэффициентов ЛОРМ");
  Application->CreateForm(Form1);
  Application->CreateForm(FormAbout);
  F = Form1;
  F->Show();
  FScope->Backend().Pump();
}

void MainWindowTest::CloseProgram() {
  F->Close();
  FScope->Backend().Pump();
}

void MainWindowTest::WriteBase(const std::string& name, const TRecordList& records) {
  std::ofstream out(FDir / name, std::ios::binary);
  const int32_t n = static_cast<int32_t>(records.size());
  out.write(reinterpret_cast<const char*>(&n), 4);
  for (const TMyRecord& r : records) {
    unsigned char image[TMyRecord::ImageSize];
    r.ToImage(image);
    out.write(reinterpret_cast<const char*>(image), sizeof image);
  }
}

TMyRecord MainWindowTest::Gas(const std::string& name, const std::string& formula, float density, float heat,
                              float conductivity, float viscosity) {
  TMyRecord r;
  r.SetFields(name, formula, density, heat, conductivity, viscosity);
  return r;
}

TRecordList MainWindowTest::Gases(int n) {
  TRecordList list;
  for (int i = 1; i <= n; ++i)
    list.push_back(Gas("Газ" + std::to_string(i), "F" + std::to_string(i), 1.0f + i, 1.5f + i, 20.0f + i,
                       10.0f + i));
  return list;
}

std::string MainWindowTest::FileBytes(const std::string& name) const {
  std::ifstream in(FDir / name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string MainWindowTest::Cell(TDavEvadurAvuz* grid, int col, int row) { return grid->GetCellEx(col, row); }

int MainWindowTest::Rows(TDavEvadurAvuz* grid) { return grid->GetRowCountEx(); }

void MainWindowTest::ClickCell(TDavEvadurAvuz* grid, int col, int row) {
  // The page that holds the grid comes to the front first, as the user would bring it.
  F->ZorOzirazIrezi1->SetActivePage(grid == F->Grid ? F->DizOfficePage2 : F->DizOfficePage1);
  FScope->Backend().Pump();
  TRect r = grid->CellRect(col, row);
  ASSERT_FALSE(r.Width() == 0) << "cell " << col << "," << row << " not in view";
  FRobot.Click(grid->Handle(), (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

std::vector<std::string> MainWindowTest::GridNames(TDavEvadurAvuz* grid) {
  std::vector<std::string> names;
  for (int row = 1; row < grid->GetRowCountEx(); ++row) names.push_back(grid->GetCellEx(0, row));
  return names;
}
