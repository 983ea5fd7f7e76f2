// Undo and redo history.
#include "records/command_history.h"

void CommandHistory::Clear() {}
