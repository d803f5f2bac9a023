// Reading a picture file through KERNEL32, in the ways its parts need.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

// A read counts only when it delivered every byte asked for: a file that ends
// early reports success with fewer bytes.
bool readExactly(HANDLE file, void* buffer, DWORD size);

// Reads and drops `count` bytes (a gap the file leaves before its next part).
bool skipBytes(HANDLE file, uint64_t count);

// Everything up to `limit` bytes or the end of the file, whichever comes first.
bool readUpTo(HANDLE file, uint64_t limit, std::vector<uint8_t>* bytes);
