#pragma once
// A window, control or resource that could not be made: what start-up and the event guard show.
#include <exception>
#include <string>
#include <utility>

// Carries its text in an ordinary std::string, as std::runtime_error would in the C++ library's
// older, reference-counted string.
class WindowError : public std::exception {
 public:
  explicit WindowError(std::string message) : m_message(std::move(message)) {}
  const char* what() const noexcept override { return m_message.c_str(); }

 private:
  std::string m_message;
};
