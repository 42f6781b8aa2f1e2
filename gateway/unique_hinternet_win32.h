#pragma once
// Owner of a WinHTTP handle (session, connection or request), closed with WinHttpCloseHandle.

#include <windows.h>
#include <winhttp.h>

#include <memory>

namespace quorlex {

struct HinternetClose {
  void operator()(HINTERNET handle) const { (void)WinHttpCloseHandle(handle); }
};
using unique_hinternet = std::unique_ptr<void, HinternetClose>;

}  // namespace quorlex
