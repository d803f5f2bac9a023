// CreateFileA, ReadFile and CloseHandle on the host's files. Only reading files
// that exist is offered: that is all the program does with files.
#include <windows.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <unordered_map>

#include "core/reset.h"
#include "core/text.h"
#include "core/trace.h"
#include "kernel/files.h"
#include "kernel/last_error.h"

namespace qmp::kernel {
namespace {

struct FileTable {
    std::unordered_map<HANDLE, int> descriptors;  // handle -> host file descriptor
    uintptr_t nextHandle = 0x100;                  // never reused, so a stale handle stays invalid
    std::string lastAsked;
};

FileTable& table() {
    static FileTable t;
    return t;
}

void closeAll() {
    for (auto& [handle, fd] : table().descriptors) ::close(fd);
    table().descriptors.clear();
    table().lastAsked.clear();
}

const ResetHook resetFiles(closeAll);

DWORD errorFromErrno(int error) {
    switch (error) {
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND_CODE;
    case EACCES:
    case EPERM:
    case EISDIR: return ERROR_ACCESS_DENIED;
    case EMFILE:
    case ENFILE: return ERROR_TOO_MANY_OPEN_FILES_CODE;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE_CODE;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    default: return ERROR_INVALID_PARAMETER;
    }
}

// The name is code page 950 text with Windows separators. Decoding first keeps a
// Big5 trail byte of 0x5C from being taken for a backslash.
std::string hostPath(LPCSTR name) {
    std::string path = text::ansiToUtf8(name);
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

int* descriptorOf(HANDLE handle) {
    auto it = table().descriptors.find(handle);
    return it == table().descriptors.end() ? nullptr : &it->second;
}

// A planned failure sets the planned code as the last error, or `usual`.
bool injectedFailure(const char* name, DWORD usual) {
    long injected = 0;
    if (!enterCall(name, &injected)) return false;
    setLastError(injected != 0 ? static_cast<DWORD>(injected) : usual);
    return true;
}

}  // namespace

int openFileCount() { return static_cast<int>(table().descriptors.size()); }
const std::string& lastFileAsked() { return table().lastAsked; }

}  // namespace qmp::kernel

using namespace qmp::kernel;

HANDLE WINAPI CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD, LPSECURITY_ATTRIBUTES,
                          DWORD dwCreationDisposition, DWORD, HANDLE) {
    table().lastAsked = lpFileName != nullptr ? hostPath(lpFileName) : "";
    if (injectedFailure("CreateFileA", ERROR_ACCESS_DENIED)) return INVALID_HANDLE_VALUE;
    if (lpFileName == nullptr || *lpFileName == '\0') {
        setLastError(lpFileName == nullptr ? ERROR_INVALID_PARAMETER : ERROR_PATH_NOT_FOUND_CODE);
        return INVALID_HANDLE_VALUE;
    }
    if (dwDesiredAccess != GENERIC_READ || dwCreationDisposition != OPEN_EXISTING) {
        setLastError(ERROR_INVALID_PARAMETER);  // writing and creating files are not offered
        return INVALID_HANDLE_VALUE;
    }
    int fd = ::open(hostPath(lpFileName).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        setLastError(errorFromErrno(errno));
        return INVALID_HANDLE_VALUE;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        ::close(fd);
        setLastError(ERROR_ACCESS_DENIED);  // as Windows answers for a folder
        return INVALID_HANDLE_VALUE;
    }
    FileTable& files = table();
    HANDLE handle = reinterpret_cast<HANDLE>(files.nextHandle);
    files.nextHandle += 4;
    files.descriptors.emplace(handle, fd);
    setLastError(ERROR_SUCCESS);
    return handle;
}

BOOL WINAPI ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
                     LPOVERLAPPED lpOverlapped) {
    if (lpNumberOfBytesRead != nullptr) *lpNumberOfBytesRead = 0;
    if (injectedFailure("ReadFile", ERROR_READ_FAULT)) return FALSE;
    if (lpOverlapped != nullptr || lpNumberOfBytesRead == nullptr) {
        setLastError(ERROR_INVALID_PARAMETER);  // only plain, counted reads
        return FALSE;
    }
    int* fd = descriptorOf(hFile);
    if (fd == nullptr) {
        setLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (lpBuffer == nullptr && nNumberOfBytesToRead > 0) {
        setLastError(ERROR_NOACCESS_CODE);
        return FALSE;
    }
    // Windows fills the buffer unless the file ends first; a host read may stop short.
    auto* out = static_cast<char*>(lpBuffer);
    DWORD total = 0;
    while (total < nNumberOfBytesToRead) {
        ssize_t got = ::read(*fd, out + total, nNumberOfBytesToRead - total);
        if (got < 0) {
            if (errno == EINTR) continue;
            *lpNumberOfBytesRead = total;
            setLastError(ERROR_READ_FAULT);
            return FALSE;
        }
        if (got == 0) break;  // end of file: success with fewer bytes
        total += static_cast<DWORD>(got);
    }
    *lpNumberOfBytesRead = total;
    return TRUE;
}

BOOL WINAPI CloseHandle(HANDLE hObject) {
    if (injectedFailure("CloseHandle", ERROR_INVALID_HANDLE)) return FALSE;
    auto it = table().descriptors.find(hObject);
    if (it == table().descriptors.end()) {
        setLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    ::close(it->second);
    table().descriptors.erase(it);
    return TRUE;
}
