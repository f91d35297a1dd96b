#pragma once
// Qt's own dialogs (open, save, print, page setup, folder browser, font) in
// the language of the rest of the screen.

class QCoreApplication;

namespace kestrovan::app {

// Installs Qt's Japanese translations (qtbase_ja.qm from Qt's translations
// folder) into `app`. False when the file is not there (the package with
// Qt's translations is not installed): Qt's dialogs then stay in English.
bool installQtTranslations(QCoreApplication& app);

} // namespace kestrovan::app
