// Reading a record whose address came with a message. Any program can send
// or post a message number that carries an address, with any address: the
// record is copied only when the memory is really there to read.
#pragma once
#include <cstddef>

#include "platform/win32/win.h"

namespace win {

// Copies `size` bytes at `address` of this process into `out`; false (and
// `out` untouched) when they cannot all be read.
bool copyOwnMemory(const void* address, void* out, std::size_t size);

template <typename Record>
bool copyOwnRecord(LPARAM address, Record& out) {
    return address != 0 && copyOwnMemory(reinterpret_cast<const void*>(address), &out, sizeof out);
}

}  // namespace win
