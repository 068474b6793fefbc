#include "support/Pomoc.h"

namespace testy {

void WywolajPrzepelnienie() {
  volatile long double a = 1e4000L;
  volatile long double r = a * a;
  (void)r;
}

void WywolajDzieleniePrzezZero() {
  volatile long double a = 1.0L, b = 0.0L;
  volatile long double r = a / b;
  (void)r;
}

}  // namespace testy
