#pragma once
// A length limit for what the operator types into an edit. QLineEdit's own maxLength would
// also cut text set by code (a project's number shown in full), so the limit watches the
// operator's edits only: one that makes the text longer than the limit (typing, pasting) is
// taken back; text set by code stands and may be shortened.
#include <QObject>
#include <QString>
#include <memory>

class QLineEdit;

namespace qx {

class TypedLengthLimit final : public QObject {
 public:
  TypedLengthLimit(QLineEdit& edit, int maxLength);

 private:
  void Edited(const QString& text);

  QLineEdit& edit_;
  int maxLength_;
  QString before_;   // the text before the latest change the edit told of
  QString current_;  // the text after it
};

// Installs a limit on the edit; the edit must outlive it.
[[nodiscard]] std::unique_ptr<TypedLengthLimit> LimitTypedLength(QLineEdit& edit, int maxLength);

}  // namespace qx
