// The system reads the memory for us and fails where a direct read would
// fault.
#include "platform/win32/own_memory.h"

#include <cstring>

namespace win {

bool copyOwnMemory(const void* address, void* out, std::size_t size) {
    if (!address || !out || size == 0 || size > 4096) return false;
    unsigned char buffer[4096];
    SIZE_T got = 0;
    if (!ReadProcessMemory(GetCurrentProcess(), address, buffer, size, &got) || got != size) return false;
    std::memcpy(out, buffer, size);
    return true;
}

}  // namespace win
