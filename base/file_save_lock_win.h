#pragma once
// The cross-process save lock on Windows: a named mutex per file, shared by all the user's
// processes in every session.

#include <memory>
#include <string>

#include "base/file_io.h"

namespace tvime {

// The mutex's name for a file: the same for every spelling of the path that differs only in case
// or slash direction, as Windows paths do.
std::wstring FileSaveMutexName(const std::string& path);

// Takes the lock of `path` (a FileSaveLocker). Waits at most 10 s for another process's save; an
// abandoned lock (a process that died while saving) is taken over.
std::unique_ptr<FileSaveLock> LockFileSaves(const std::string& path);

}  // namespace tvime
