// The window's side of the input queue: input copied whole as it arrives,
// and a private message that has the queue taken up from the message loop.
#pragma once
#include "app/input_queue.h"
#include "platform/win32/win.h"

// Posted whenever input joins the queue or work ends with input waiting.
// Any program can post it too: all it does is take up what waits.
constexpr UINT queuedInputMessage = 0x8061;

// Queues `input` and posts queuedInputMessage; input beyond the queue's
// bound is let go.
void queueInputAndWake(HWND window, QueuedInput input);
// Tells the message loop to take up the queue.
void wakeForQueuedInput(HWND window);
