#pragma once
// Test helpers of the field-model tests with their plots: the model helpers
// and a window with a plot picture.
#include <memory>

#include "ferrant/model/tests/model_pomoc.h"
#include "toolkit/controls/Controls.h"

namespace ferrant::test {

// A window with a 500 × 400 plot picture, and every message box recorded.
class PoleTest : public ModelTest {
 protected:
  void SetUp() override {
    tk::EnsureWindowing();
    forma = std::make_unique<tk::TForm>();
    obraz = new tk::TImage(forma.get());
    obraz->SetBounds(0, 0, 500, 400);
    ModelTest::SetUp();
  }

  std::unique_ptr<tk::TForm> forma;
  tk::TImage* obraz = nullptr;
};

}  // namespace ferrant::test
