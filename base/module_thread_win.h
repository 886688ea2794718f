#pragma once
// Threads of the input-method module that may outlive the call that starts them (a browser
// start, the background service, the wait for the dictionary manager). Each holds a reference on
// the module whose code it runs, so that an application unloading the module cannot pull the code
// from under a running thread: the module goes once the last such thread has ended.

#include <functional>

namespace tvime {

// Runs `work` on a new thread holding the module; an exception it throws ends the thread
// quietly. False when no thread could be started (then `work` does not run).
bool StartModuleThread(std::function<void()> work);

}  // namespace tvime
