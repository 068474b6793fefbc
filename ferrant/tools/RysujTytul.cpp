// Draws the title picture of the title window: the current density over the
// cross-section of a copper conductor with a strong skin effect, its radial
// profile at f, 2f and 10f, and the program's name.  Writes it as a JPEG file:
//
//   QT_QPA_PLATFORM=offscreen <build>/ferrant/tools/ferrant_title resources/ferrant/title.jpg [check.png]
//
// The optional PNG is the JPEG decoded again, to look at what was written.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "ferrant/MapaGestosci.h"
#include "ferrant/PoleWalca.h"
#include "toolkit/controls/Controls.h"
#include "toolkit/pictures/Jpeg.h"

namespace {

using num::Extended;

constexpr int kW = 525, kH = 417;

int Mieszaj(int a, int b, double t) { return static_cast<int>(std::lround(a + (b - a) * t)); }

// Black through red and orange to pale yellow: the brighter, the denser.
tk::TColor Zar(double t) {
  t = std::clamp(t, 0.0, 1.0);
  if (t < 0.45) return tk::RGBColor(Mieszaj(25, 220, t / 0.45), 0, 0);
  if (t < 0.8) return tk::RGBColor(Mieszaj(220, 255, (t - 0.45) / 0.35), Mieszaj(0, 150, (t - 0.45) / 0.35), 0);
  return tk::RGBColor(255, Mieszaj(150, 245, (t - 0.8) / 0.2), Mieszaj(0, 170, (t - 0.8) / 0.2));
}

tk::TFont Czcionka(const char* name, int height, tk::TColor color, bool bold) {
  tk::TFont f;
  f.Name = name;
  f.Height = height;
  f.Color = color;
  f.Style = bold ? tk::TFontStyles(tk::fsBold) : 0u;
  return f;
}

void TekstWSrodku(tk::TCanvas& c, int cx, int y, const std::string& text) {
  c.TextOut(cx - c.TextWidth(text) / 2, y, text);
}

void Rysuj(tk::TBitmap& bmp) {
  tk::TCanvas& c = bmp.Canvas();
  // Night-blue background, lighter towards the top.
  for (int y = 0; y < kH; ++y) {
    const double t = static_cast<double>(y) / (kH - 1);
    c.Brush.SetColor(tk::RGBColor(Mieszaj(22, 4, t), Mieszaj(40, 8, t), Mieszaj(92, 30, t)));
    c.FillRect({0, y, kW, y + 1});
  }

  // Copper conductor of 50 mm radius at 50 Hz: the skin depth is about 9.6 mm.
  ferrant::TPoleWalca pole(nullptr, 1000, 50, num::kMi0, 55e6L, 0.05L, 200);
  pole.Oblicz();
  const Extended R = pole.R;
  const Extended JR = num::ModZ(pole.GestoscJ(R));

  // The cross-section, pixel by pixel, with a thin rim.
  const int cx = 140, cy = 262, g = 118;
  for (int y = cy - g - 2; y <= cy + g + 2; ++y) {
    for (int x = cx - g - 2; x <= cx + g + 2; ++x) {
      const double d = std::hypot(x - cx, y - cy);
      if (d <= g) {
        const Extended v = num::ModZ(pole.GestoscJ(R * d / g)) / JR;
        c.SetPixel(x, y, Zar(static_cast<double>(v)));
      } else if (d <= g + 2) {
        c.SetPixel(x, y, tk::RGBColor(205, 127, 50));
      }
    }
  }

  // |J(r)| / |J(R)| along the diameter at f, 2f and 10f.
  const int px0 = 292, px1 = 505, py0 = 370, py1 = 170;
  c.Pen.Color = tk::RGBColor(150, 160, 190);
  c.MoveTo(px0, py1 - 6);
  c.LineTo(px0, py0);
  c.LineTo(px1 + 4, py0);
  const int pxs = (px0 + px1) / 2;
  c.Pen.Style = tk::psDot;
  c.MoveTo(pxs, py1 - 6);
  c.LineTo(pxs, py0);
  c.Pen.Style = tk::psSolid;
  const tk::TColor kolory[3] = {tk::RGBColor(255, 200, 60), tk::RGBColor(255, 110, 40), tk::RGBColor(230, 40, 40)};
  const char* opisy[3] = {"f = 50 Hz", "2f", "10f"};
  const Extended f0 = pole.f;
  for (int k = 0; k < 3; ++k) {
    pole.f = f0 * (k == 0 ? 1 : k == 1 ? 2 : 10);
    pole.Oblicz();
    const Extended JRk = num::ModZ(pole.GestoscJ(R));
    c.Pen.Color = kolory[k];
    c.Pen.Width = 2;
    for (int x = px0; x <= px1; ++x) {
      const Extended r = R * std::fabs(2.0L * (x - px0) / (px1 - px0) - 1);
      const Extended v = num::ModZ(pole.GestoscJ(r)) / JRk;
      const int y = py0 - static_cast<int>(std::lround(static_cast<double>(v) * (py0 - py1)));
      if (x == px0) c.MoveTo(x, y);
      else c.LineTo(x, y);
    }
    c.Font = Czcionka("Arial", -12, kolory[k], true);
    c.Brush.Style = tk::bsClear;
    c.TextOut(px0 + 10 + 66 * k, py0 + 8, opisy[k]);
  }
  c.Pen.Width = 1;
  c.Font = Czcionka("Arial", -12, tk::RGBColor(190, 200, 225), false);
  c.TextOut(px0 + 6, py1 - 22, "|J(r)| / |J(R)|");
  c.TextOut(px1 - 8, py0 - 16, "r");

  // The name and what the program does.
  c.Brush.Style = tk::bsClear;
  c.Font = Czcionka("Arial", -64, tk::RGBColor(255, 214, 120), true);
  TekstWSrodku(c, kW / 2, 14, "Ferrant");
  c.Font = Czcionka("Arial", -15, tk::RGBColor(225, 230, 245), true);
  TekstWSrodku(c, kW / 2, 92, "Pole elektromagnetyczne przewodów");
  TekstWSrodku(c, kW / 2, 112, "z prądem sinusoidalnie zmiennym");
  c.Font = Czcionka("Arial", -12, tk::RGBColor(170, 180, 210), false);
  TekstWSrodku(c, kW / 2, 396, "przewód walcowy  \xC2\xB7  cylindryczny  \xC2\xB7  dwuwarstwowy");
}

}  // namespace

int main(int argc, char** argv) {
  const std::string plik = argc > 1 ? argv[1] : "title.jpg";
  tk::EnsureWindowing();
  tk::TBitmap bmp(kW, kH);
  Rysuj(bmp);
  tk::TJPEGImage jpeg;
  jpeg.Assign(bmp);
  jpeg.CompressionQuality = 92;
  jpeg.SaveToFile(plik);
  if (argc > 2) {
    const std::vector<uint8_t> dane = jpeg.SaveToBytes();
    tk::DecodeJpeg(dane.data(), dane.size())->SaveToPng(argv[2]);
  }
  std::printf("%s: %dx%d\n", plik.c_str(), kW, kH);
  return 0;
}
