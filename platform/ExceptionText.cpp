#include "platform/ExceptionText.h"

std::string ExceptionText(std::exception_ptr error) {
  try {
    if (error) std::rethrow_exception(error);
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
  }
  return "An unexpected error occurred.";
}
