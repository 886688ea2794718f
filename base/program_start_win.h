#pragma once
// What every program of the product does at its start: one running copy at a time, an entry
// point that lets nothing escape, and the start again after it updated itself.

#include <windows.h>

#include "base/product_title.h"

namespace tvime {

// One running copy of a program: a named mutex held for the object's life. A second copy sees
// that it is not the first and ends.
class SingleInstance {
 public:
  explicit SingleInstance(const wchar_t* name);
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;
  ~SingleInstance();

  // False for a second copy, and when the mutex could not be made at all.
  bool isFirst() const { return first_; }
  // Lets another copy start from now on (the program started again after an update).
  void release();

 private:
  HANDLE mutex_ = nullptr;
  bool first_ = false;
};

// Releases the running copy and starts the program again from its updated file.
void RestartAfterUpdate(SingleInstance& instance, int show);

// Runs a program's body: whatever it throws ends the program quietly with exit code 0, which is
// what every caller of these programs relies on.
template <typename Body>
int GuardedEntry(Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return 0;
  }
}

}  // namespace tvime
