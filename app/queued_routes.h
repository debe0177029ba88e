// Taking up waiting input: each input is routed as it would have been had
// it arrived while the program was idle.
#pragma once
#include "app/input_queue.h"
#include "platform/platform.h"

// Routes one input by its kind.
void routeQueuedInput(platform::WindowHandle window, const QueuedInput& input);

// Unless work is in progress: routes every waiting input in order, each as
// work of its own (input arriving meanwhile joins the end of the queue),
// then carries out a close asked for while the work ran.
void runQueuedInput(platform::WindowHandle window);
