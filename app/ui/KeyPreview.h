#pragma once
// The window's key preview: an event filter on the main window and its own widgets (not on
// the application, so dialogs and menus keep their keys). A Space or Enter typed in any of
// them is the operator's start key: it is consumed, so it never also reaches the focused
// control (a Space after a click on "Connect" would otherwise start Auto and then search
// again, closing the ports under the running units), and a held key's repeats start
// nothing. Widgets created later are covered as they are added.
#include <QObject>
#include <functional>

class QKeyEvent;
class QWidget;

namespace qx {

class KeyPreview : public QObject {
  Q_OBJECT

 public:
  // onStartKey runs for each start key pressed; window is the one whose widgets are watched.
  KeyPreview(QWidget& window, std::function<void()> onStartKey);

  // Space, Return or keypad Enter without Ctrl, Alt or Meta.
  static bool IsStartKey(const QKeyEvent& event);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Watch(QObject& object);

  QWidget& window_;
  std::function<void()> onStartKey_;
};

}  // namespace qx
