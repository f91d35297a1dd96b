#include "app/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace kestrovan::app {

bool installQtTranslations(QCoreApplication& app) {
  // The screen is Japanese whatever the desktop's language is, so the
  // translation is chosen by name rather than by the system's locale.
  auto* translator = new QTranslator(&app);
  if (!translator->load("qtbase_ja", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

} // namespace kestrovan::app
