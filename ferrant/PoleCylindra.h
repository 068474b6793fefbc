#pragma once
// The tubular conductor's field with its plots: TModelCylindra (ferrant/model) computes,
// this class adds the window's plot picture and painter.
#include <cstdint>
#include <memory>

#include "ferrant/WykresyPola.h"
#include "ferrant/model/ModelCylindra.h"
#include "numerics/AlgeZes4.h"
#include "plot/Wykresy4.h"

namespace ferrant {

using num::Extended;
using num::TZespol;

class TPoleCylindra : public TModelCylindra {
 public:
  TPoleCylindra(tk::TImage* obraz, Extended I, Extended f, Extended mi, Extended gamma, Extended r1, Extended r2,
                int32_t N);
  ~TPoleCylindra();
  TPoleCylindra(const TPoleCylindra&) = delete;
  TPoleCylindra& operator=(const TPoleCylindra&) = delete;

  // Radial plots at f, 2f and 10f; Jz at f alone; Kn against frequency.
  void WykresE();
  void WykresH();
  void WykresJ();
  void WykresJ1f();
  void WykresKn();

  std::unique_ptr<plot::TWykresy> Wykresy;  // owned plot painter
  tk::TImage* Obraz = nullptr;              // the window's plot picture, not owned
  int32_t N = 0;                            // index of the last plot point

 private:
  void WykresRadialny(Wielkosc q, const char* jednostka, const char* prefiks, const char* kontynuacja,
                      const char* tytul);
  void Krzywa(int nr, Wielkosc q);
};

}  // namespace ferrant
