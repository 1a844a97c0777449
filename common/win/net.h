// The owner of a WinINet handle: a session, a connection or a request.
#pragma once
#include <windows.h>
#include <wininet.h>

#include "common/win/file.h"

namespace vtc {

// Closing a session also aborts a call that still waits on it on another thread.
using ScopedInternetHandle = ScopedHandleOf<InternetCloseHandle>;

}  // namespace vtc
