#include "app/ui/HandlerGuard.h"

#include <exception>

#include "texts/Texts.h"

namespace qx {

namespace {

void Show(const ErrorSink& showError, std::string_view message) noexcept {
  // The error box itself failing must not take the program down either.
  try {
    if (showError) showError(message);
  } catch (...) {
  }
}

}  // namespace

void RunHandler(const std::function<void()>& handler, const ErrorSink& showError) noexcept {
  try {
    handler();
  } catch (const std::exception& e) {
    Show(showError, e.what());
  } catch (...) {
    Show(showError, Text(TextId::WndUnknownError));
  }
}

}  // namespace qx
