// The calling thread's last-error code (there is one thread), for the platform's
// own calls: they set it without going through the traced SetLastError.
#pragma once

#include <windows.h>

namespace qmp::kernel {

void setLastError(DWORD code);
DWORD lastError();

// Error codes the platform sets that the public header does not name.
constexpr DWORD ERROR_PATH_NOT_FOUND_CODE = 3;
constexpr DWORD ERROR_TOO_MANY_OPEN_FILES_CODE = 4;
constexpr DWORD ERROR_FILENAME_EXCED_RANGE_CODE = 206;
constexpr DWORD ERROR_NOACCESS_CODE = 998;
constexpr DWORD ERROR_INVALID_WINDOW_HANDLE_CODE = 1400;
constexpr DWORD ERROR_CANNOT_FIND_WND_CLASS_CODE = 1407;
constexpr DWORD ERROR_CLASS_ALREADY_EXISTS_CODE = 1410;
constexpr DWORD ERROR_RESOURCE_NAME_NOT_FOUND_CODE = 1814;

}  // namespace qmp::kernel
