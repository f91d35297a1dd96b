#pragma once
// The commands that keys of the file list run. Operations register a handler
// for theirs with the host (Host::setCommandHandler); which key runs which
// command, and when, is the key table's business (core/KeyTable.cpp).

namespace kestrovan::host {

enum class Command {
  None,
  Send,
  Receive,
  Delete,
  Move,
  Copy,
  Join,
  FolderPrompt,
  FolderBrowse,
  ExtensionPrompt,
  CommSettings,
  FileView,
  LogView,
  Edit,
  NewDocument,
  Close,
  Cancel,
  Refresh,
  PageUp,
  PageDown,
  MarkBlock,
  ClearMarks,
  Activate,
  Split,
  NameFilter,
  AxisDouble,
  FileInfo,
  DriveMenu,
  Options,
  Rename,
  SortBox,
  First,
  Last,
  OpenAssociated,
  ExternalTable,
};

} // namespace kestrovan::host
