// The DDE client side of the browser bridge library: one short
// conversation with a browser per call, every handle released before the
// call returns.
#pragma once
#include <stddef.h>

namespace tvdde {

// Asks `service` for the window information of the page it shows. True when
// it answered with a non-empty text, which is then in `reply`, cut to fit
// `capacity` bytes with the terminator (an empty text otherwise).
bool requestWindowInfo(const char* service, char* reply, size_t capacity);

// Asks `service` to open `url`. True when the browser took it.
bool requestOpenUrl(const char* service, const char* url);

}  // namespace tvdde
