// The window's side of the input queue: input copied whole as it arrives,
// and a private message that has the queue taken up from the message loop.
#pragma once
#include "app/input_queue.h"
#include "platform/win32/win.h"

// Posted whenever input joins the queue or work ends with input waiting,
// so that the program's message loop wakes and takes the queue up. Any
// program can post it too: it does nothing itself.
constexpr UINT queuedInputMessage = 0x8061;

// Queues `input` and posts queuedInputMessage; input beyond the queue's
// bound is let go.
void queueInputAndWake(HWND window, QueuedInput input);
// Tells the message loop to take up the queue.
void wakeForQueuedInput(HWND window);
