#pragma once
// The exception classes of the runtime library. Every error the system raises is an
// Exception carrying a message; the message loop shows the message of one that escapes.
#include <exception>
#include <string>

class Exception : public std::exception {
public:
  explicit Exception(std::string message) : FMessage(std::move(message)) {}
  const std::string& Message() const noexcept { return FMessage; }
  void SetMessage(std::string message) { FMessage = std::move(message); }
  const char* what() const noexcept override { return FMessage.c_str(); }
  virtual const char* ClassName() const noexcept { return "Exception"; }

private:
  std::string FMessage;
};

#define LORM_DECLARE_EXCEPTION(Name, Base)                                      \
  class Name : public Base {                                                    \
  public:                                                                       \
    using Base::Base;                                                           \
    const char* ClassName() const noexcept override { return #Name; }           \
  }

LORM_DECLARE_EXCEPTION(EConvertError, Exception);
LORM_DECLARE_EXCEPTION(EMathError, Exception);
LORM_DECLARE_EXCEPTION(EZeroDivide, EMathError);
LORM_DECLARE_EXCEPTION(EInvalidOp, EMathError);
LORM_DECLARE_EXCEPTION(EOverflow, EMathError);
LORM_DECLARE_EXCEPTION(EUnderflow, EMathError);
LORM_DECLARE_EXCEPTION(EIntError, Exception);
LORM_DECLARE_EXCEPTION(EDivByZero, EIntError);
LORM_DECLARE_EXCEPTION(ERangeError, EIntError);
LORM_DECLARE_EXCEPTION(EListError, Exception);
LORM_DECLARE_EXCEPTION(EStringListError, Exception);
LORM_DECLARE_EXCEPTION(EInOutError, Exception);
LORM_DECLARE_EXCEPTION(EStreamError, Exception);
LORM_DECLARE_EXCEPTION(EFCreateError, EStreamError);
LORM_DECLARE_EXCEPTION(EFOpenError, EStreamError);
LORM_DECLARE_EXCEPTION(EReadError, EStreamError);
LORM_DECLARE_EXCEPTION(EWriteError, EStreamError);
LORM_DECLARE_EXCEPTION(EAbort, Exception);
LORM_DECLARE_EXCEPTION(EInvalidCast, Exception);
LORM_DECLARE_EXCEPTION(EInvalidOperation, Exception);
LORM_DECLARE_EXCEPTION(EInvalidPointer, Exception);
LORM_DECLARE_EXCEPTION(EOutOfResources, Exception);
LORM_DECLARE_EXCEPTION(EAbstractError, Exception);
LORM_DECLARE_EXCEPTION(EAccessViolation, Exception);
LORM_DECLARE_EXCEPTION(ENotSupportedException, Exception);
LORM_DECLARE_EXCEPTION(EInvalidGraphic, Exception);
LORM_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception);
LORM_DECLARE_EXCEPTION(EResNotFound, Exception);
LORM_DECLARE_EXCEPTION(EComponentError, Exception);
LORM_DECLARE_EXCEPTION(EFilerError, EStreamError);
LORM_DECLARE_EXCEPTION(EClassNotFound, EFilerError);
LORM_DECLARE_EXCEPTION(EPropertyError, Exception);
LORM_DECLARE_EXCEPTION(EAssertionFailed, Exception);
LORM_DECLARE_EXCEPTION(EMenuError, Exception);
LORM_DECLARE_EXCEPTION(EActionError, Exception);

// Replacing the exception being handled. A C++ handler cannot swap the exception that is
// in flight; instead a replacement is recorded for it on this thread, and the handlers
// that report exceptions (the application's) and re-raise them ask for the exception to
// use in its place.
#include <exception>
// Records Replacement for Current (both non-null).
void SetExceptionReplacement(std::exception_ptr Current, std::exception_ptr Replacement);
// The replacement recorded for Current, or Current itself.
std::exception_ptr ExceptionReplacement(std::exception_ptr Current);
