#pragma once
// A length limit for what the operator types into an edit. QLineEdit's own maxLength would
// also cut text set by code (a project's number shown in full), so the limit is a validator:
// typing and pasting past it are refused, text set by code stands and may be shortened.
#include <QValidator>
#include <memory>

class QLineEdit;

namespace qx {

class TypedLengthLimit final : public QValidator {
 public:
  TypedLengthLimit(QLineEdit& edit, int maxLength);
  State validate(QString& input, int& pos) const override;

 private:
  const QLineEdit& edit_;
  int maxLength_;
};

// Installs a limit on the edit; the edit must outlive it.
[[nodiscard]] std::unique_ptr<TypedLengthLimit> LimitTypedLength(QLineEdit& edit, int maxLength);

}  // namespace qx
