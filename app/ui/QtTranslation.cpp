#include "app/ui/QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>

#include "texts/Language.h"

namespace qx {

bool InstallQtTranslation(QTranslator& translator) {
  if (BuildLanguage() != Language::Chinese) return false;
  if (!translator.load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) return false;
  return QCoreApplication::installTranslator(&translator);
}

}  // namespace qx
