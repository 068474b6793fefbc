#pragma once
// What a long computation may step: a progress bar with a minimum, a maximum
// and a position.  The solvers see only this; the toolkit's progress-bar
// control is one, and a computation without a window gets none (null).
namespace tk {

class Pasek {
 public:
  virtual ~Pasek() = default;
  virtual void SetMin(int v) = 0;
  virtual void SetMax(int v) = 0;
  virtual void SetPosition(int v) = 0;
};

}  // namespace tk
