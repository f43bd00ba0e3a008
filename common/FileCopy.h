#pragma once
// The program's one way to copy a file: every failure is explained to the user in the program's
// own words, with the offer to try again where trying again can help (a full diskette, a drive
// that was not ready). Callers act on the outcome code only and never report again.

#include <string>

// Outcomes of CopyFileWithRetry.
constexpr int kCopyDone = 0;
constexpr int kCopyNotOverwritten = 1;  // the user refused to overwrite
constexpr int kCopyGaveUp = 2;          // full disk, denied access or device not ready, then No
constexpr int kCopyFailed = 3;          // source missing, not found, or another error then No

// Copies `source` over `destination` (asking first when `ask` is 1 and it exists). The
// destination is replaced in one step only once the copy is complete, so a failed copy leaves
// the old file as it was; a file is never copied onto itself. With `pause` 1 a successful copy
// returns after 4 seconds.
int CopyFileWithRetry(const std::string& source, const std::string& destination, int ask,
                      int pause);
