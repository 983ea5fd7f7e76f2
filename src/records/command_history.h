// The per-file undo and redo history of record changes.
#pragma once

class CommandHistory {
public:
  // Destroys the open group and every group of both stacks.
  void Clear();
};
