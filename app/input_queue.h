// One thing at a time. Work runs on the one thread and may wait (a
// download, the loader, a box, a menu) while other programs keep talking
// to the window: a second copy's hand-off, a drop, a clipboard change.
// Such input is copied whole the moment it arrives and waits here; it is
// taken in order once no work is in progress, each input as work of its
// own, so that no input's routing ever runs inside another's.
#pragma once
#include <cstddef>
#include <string>

#include "common/source_program.h"
#include "platform/platform.h"

enum class InputKind { startup, handOff, fileDrop, textDrop, clipboard };

struct QueuedInput {
    InputKind kind = InputKind::startup;
    unsigned transferCode = 0;  // a hand-off's
    std::string text;           // the payload, the dropped path or text, the clipboard text
    int ctrl = 0;               // Ctrl held at a drop or clipboard change
    SourceProgram source;       // a hand-off's: the program the sender was started from
};

// More than anyone could mean to hand over while one download runs; what
// comes beyond is let go (each hand-off holds up to 30 KB).
inline constexpr std::size_t maxQueuedInputs = 64;

// Adds `input` at the end; false (and nothing kept) when the queue is full.
bool queueInput(QueuedInput input);
// Takes the oldest input; false when there is none.
bool takeQueuedInput(QueuedInput& out);
std::size_t queuedInputCount();
// Forgets every waiting input and a close asked for (for tests).
void clearQueuedInput();

// True while some work runs: input must then wait.
bool workInProgress();
// True when input waits, or a close was asked for, and no work runs: the
// message loop then takes the queue up (runQueuedInput).
bool queuedWorkWaiting();

// Marks a piece of work for its lifetime. When the outermost one ends and
// input is waiting (or the window was asked to close meanwhile), the window
// layer is told, so that the queue is taken up from the message loop.
class WorkScope {
public:
    WorkScope();
    ~WorkScope();
    WorkScope(const WorkScope&) = delete;
    WorkScope& operator=(const WorkScope&) = delete;
};

// A close asked for by another program while work runs: carried out once
// the work has ended. takeCloseRequest answers whether one is waiting and
// forgets it.
void requestCloseWhenIdle();
bool takeCloseRequest();
