#pragma once
// The one wrapper every handler of the main window runs in. Qt ends the program when an
// exception crosses its event loop, so the wrapper catches whatever the handler raises
// (ECommsError, EConvertError, EInOutError, any other exception), shows its message and
// returns: the command ends there, the program goes on.
#include <functional>
#include <string_view>

namespace qx {

using ErrorSink = std::function<void(std::string_view message)>;

void RunHandler(const std::function<void()>& handler, const ErrorSink& showError) noexcept;

}  // namespace qx
