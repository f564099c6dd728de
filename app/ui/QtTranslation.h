#pragma once
// Qt's own texts (file dialogs, standard buttons) in the language of the build.
#include <QTranslator>

namespace qx {

// The Chinese build installs Qt's Simplified Chinese catalogue from Qt's translations folder
// into translator (which must outlive its use); the English build installs none. Returns
// whether one was installed: a missing catalogue leaves Qt's English texts.
bool InstallQtTranslation(QTranslator& translator);

}  // namespace qx
