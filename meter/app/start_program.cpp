#include "meter/app/start_program.h"

#include <windows.h>

#include "common/encoding.h"
#include "common/win/file.h"

namespace vtc {

void StartProgram(const std::string& path) {
  // The wide call takes the folder in any language; an ANSI command line
  // could only name folders that the system code page holds. Quoted, because
  // the program folder is often below "Program Files" and the first blank
  // would end the name.
  std::wstring file = Utf8ToWide(path);
  std::wstring command = L"\"" + file + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(file.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return;
  // Not waited for: only the handles are given back.
  ScopedHandle process(pi.hProcess);
  ScopedHandle thread(pi.hThread);
}

}  // namespace vtc
