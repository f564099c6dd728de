#pragma once
// A control of the main window found by its designed object name, for the tests and the
// screenshots; the window itself uses the form's typed members. A missing one is a fault
// of the form.
#include <QString>
#include <QWidget>
#include <stdexcept>
#include <string>

namespace qx {

template <class T>
T& NamedControl(const QWidget& window, const char* name) {
  T* found = window.findChild<T*>(QString::fromLatin1(name));
  if (found == nullptr) throw std::logic_error(std::string("the main window has no control ") + name);
  return *found;
}

}  // namespace qx
