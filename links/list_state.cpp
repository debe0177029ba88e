// The list window's process-wide record.
#include "links/list_state.h"

ListWindowState listWindow;
