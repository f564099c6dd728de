#pragma once
// A main window under test: its commands recorded, its message boxes and modal dialogs
// answered at once (never a real modal wait).
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/WindowCommands.h"
#include "app/ui/GenMFrmARM.h"
#include "tests/support/QtAppEnvironment.h"

namespace qx::test {

// What a control shows as its caption or text, whatever its kind.
inline QString ShownText(const QObject& o) {
  if (auto* b = qobject_cast<const QAbstractButton*>(&o)) return b->text();
  if (auto* l = qobject_cast<const QLabel*>(&o)) return l->text();
  if (auto* g = qobject_cast<const QGroupBox*>(&o)) return g->title();
  if (auto* e = qobject_cast<const QLineEdit*>(&o)) return e->text();
  if (auto* c = qobject_cast<const QComboBox*>(&o)) return c->currentIndex() < 0 ? c->placeholderText() : c->currentText();
  if (auto* m = qobject_cast<const QMenu*>(&o)) return m->title();
  if (auto* a = qobject_cast<const QAction*>(&o)) return a->text();
  return {};
}

class RecordingCommands : public WindowCommands {
 public:
  void Run(WindowCommand command) override {
    ran.push_back(command);
    if (onRun) onRun(command);
  }
  std::vector<WindowCommand> ran;
  std::function<void(WindowCommand)> onRun;
};

struct ShownBox {
  MsgKind kind;
  std::string text;
  MsgButtons buttons;
};

class WindowTest : public ::testing::Test {
 protected:
  WindowTest() {
    window.SetCommands(commands);
    window.ShowMessage = [this](MsgKind kind, std::string_view text, MsgButtons buttons) {
      boxes.push_back({kind, std::string(text), buttons});
      return answer;
    };
    window.ShowModal = [this](QDialog& dialog) {
      modals.push_back(&dialog);
      return static_cast<int>(QDialog::Accepted);
    };
  }

  // The window's control of that name and kind; a missing one fails the test.
  template <class T>
  T& Find(const QString& name) const {
    T* found = window.findChild<T*>(name);
    if (found == nullptr) throw std::runtime_error("no control " + name.toStdString());
    return *found;
  }

  // Shown as at start-up; the first show runs the run-time captions once.
  void Show() {
    window.show();
    QApplication::processEvents();
  }

  TGenMFrmARM window;
  RecordingCommands commands;
  std::vector<ShownBox> boxes;
  std::vector<QDialog*> modals;
  MsgAnswer answer = MsgAnswer::Ok;
};

}  // namespace qx::test
