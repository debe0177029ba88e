// Dragging text or a file onto a window with OLE drag and drop, as a
// person dragging from another program would.
#pragma once
#include <string>

#include "platform/win32/win.h"

namespace driver {

// Text and Files carry code page 932 bytes (CF_TEXT; an ANSI CF_HDROP);
// WideText and WideFiles UTF-8 text, given as a program that writes wide
// text gives it: CF_UNICODETEXT with the system's CF_TEXT copy of it, and
// a wide CF_HDROP.
enum class DragKind { Text, Files, WideText, WideFiles };

// Moves the cursor to the point and drags `data` (text, or one file path)
// there; the drop happens after a few mouse polls. The source allows copy,
// move and link. Returns the effect the target chose, or -1 when the drag
// could not run. OLE must be initialised on this thread.
long dragAndDrop(POINT screen, DragKind kind, const std::string& data);

}  // namespace driver
