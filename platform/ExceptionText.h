#pragma once
// What an exception says of itself, for the boxes that report one: the program's start-up and
// every event procedure.
#include <exception>
#include <string>

// The what() of a standard exception; a general sentence for any other, or for none.
std::string ExceptionText(std::exception_ptr error);
