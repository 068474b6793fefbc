#pragma once
// Run-time errors of the programs.  Numerical code raises them; the toolkit's
// event dispatch is the one place that catches them and shows their message.
#include <stdexcept>
#include <string>

namespace tk {

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }
  const std::string& Message() const { return message_; }

 private:
  std::string message_;
};

// Floating-point faults: never infinities or NaN, always one of these.
class EMathError : public Exception {
  using Exception::Exception;
};
class EZeroDivide : public EMathError {
 public:
  EZeroDivide() : EMathError("Floating point division by zero") {}
};
class EInvalidOp : public EMathError {
 public:
  EInvalidOp() : EMathError("Invalid floating point operation") {}
};
class EOverflow : public EMathError {
 public:
  EOverflow() : EMathError("Floating point overflow") {}
};

// Strict text conversion ("'%s' is not a valid integer value").
class EConvertError : public Exception {
  using Exception::Exception;
};
// List access outside the list ("List index out of bounds (%d)").
class EListError : public Exception {
  using Exception::Exception;
};
// A layout stream that does not hold what its reader expects ("Invalid property value").
class EReadError : public Exception {
  using Exception::Exception;
};
// A file that cannot be created or written.
class EFCreateError : public Exception {
  using Exception::Exception;
};
class EWriteError : public Exception {
  using Exception::Exception;
};

}  // namespace tk
