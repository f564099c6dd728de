#pragma once
// Finding a dialog's controls by their designed object names.
#include <gtest/gtest.h>

#include <QWidget>
#include <string>

#include "tests/support/QtAppEnvironment.h"

namespace qx::test {

template <typename T>
T* Find(const QWidget& parent, const char* name) {
  T* w = parent.findChild<T*>(QString::fromLatin1(name));
  if (w == nullptr) ADD_FAILURE() << "no control named " << name;
  return w;
}

inline std::string Str(const QString& s) { return s.toStdString(); }

}  // namespace qx::test
