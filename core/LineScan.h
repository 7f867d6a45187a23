#pragma once
// Finding, fast, the lines of a large file that may matter. A user.cfg can hold a million of the
// game's own lines, and it is read again at every save; only the lines that begin with the first
// character of an attract-mode prefix ('a' or '-') can be attract-mode lines. One pass finds those
// without stopping at every line: it marks, 64 bytes at a time, where the CRs, LFs and those two
// characters stand. The rules of the lines themselves stay in UserCfgFormat.cpp.
#include <cstddef>
#include <string_view>
#include <vector>

struct LineScan {
  std::vector<size_t> candidates;  // where each line starts that begins with either character
  bool loneLineEnds = false;       // some line ends with a lone CR or LF rather than CR LF
};

// Scans the bytes for the lines that begin with `first` or `second`. Lines end as SplitLines
// splits them: at CR LF, a lone CR or a lone LF.
LineScan ScanLines(std::string_view bytes, char first, char second);
