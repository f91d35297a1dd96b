#pragma once
// Prompt modes: which operation owns the open prompt line, and so which
// characters it refuses and whose handler Enter calls.

namespace kestrovan::host {

enum class PromptMode { None, ReceiveName = 2, CopyName = 4, Folder = 5, Extension = 6 };

} // namespace kestrovan::host
