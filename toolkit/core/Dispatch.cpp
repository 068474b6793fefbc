#include "toolkit/core/Dispatch.h"

#include <exception>
#include <new>

#include "toolkit/core/Errors.h"
#include "toolkit/core/FpCheck.h"
#include "toolkit/core/MessageBox.h"

namespace tk {

bool Dispatch(const std::function<void()>& handler) {
  FpShield shield;
  try {
    handler();
    FpCheck();
    return true;
  } catch (const Exception& e) {
    FpClear();
    ShowExceptionMessage(e.Message());
  } catch (const std::bad_alloc&) {
    FpClear();
    ShowExceptionMessage("Out of memory");
  } catch (const std::exception& e) {
    FpClear();
    ShowExceptionMessage(e.what());
  }
  return false;
}

}  // namespace tk
