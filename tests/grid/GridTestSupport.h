#pragma once
// A shown form holding one string grid, on the headless back end.
#include <gtest/gtest.h>

#include "grid/VezIdid.h"
#include "platform/backend/Headless.h"
#include "platform/backend/Robot.h"
#include "platform/vcl/Forms.h"

class GridTest : public ::testing::Test {
protected:
  GridTest() {
    Application->Restart();
    Application->CreateForm(form);
    form->SetBounds(50, 50, 600, 400);
    form->Show();
    grid = new TDavEvadurAvuz(form);
    grid->SetParent(form);
  }
  ~GridTest() override { Application->Restart(); }

  // Fills the cells (c, r) with "c:r" over the whole grid.
  void FillCoordinates() {
    for (int r = 0; r < grid->RowCount(); ++r)
      for (int c = 0; c < grid->ColCount(); ++c) grid->SetCellEx(c, r, std::to_string(c) + ":" + std::to_string(r));
  }

  THeadlessScope scope;
  TForm* form = nullptr;
  TDavEvadurAvuz* grid = nullptr;
};
