#pragma once
// The frame the operations' dialogs share: a fixed-size dialog with a title
// and a close box, in the proportional Gothic.

#include <QDialog>
#include <QSize>

namespace kestrovan::host {

inline constexpr Qt::WindowFlags kFixedDialog = Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint |
                                                Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                                Qt::WindowCloseButtonHint;

void setUpFixedDialog(QDialog& dialog, const char* name, const char* title, QSize size);

} // namespace kestrovan::host
