#pragma once
// The system's own words for a Win32 error code.
#include <string>

// FormatMessage's text for the error, without its final period and line break, so that it reads
// as part of a sentence ("Access is denied"); "system error N" when the system has no text.
std::string SystemMessage(unsigned long error);
