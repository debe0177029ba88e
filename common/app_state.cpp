// The process-wide records of the running copy.
#include "common/app_state.h"

ProgramPaths programPaths;
RunState runState;
StartOptions startOptions;
LinkSource linkSource;
