#pragma once
// The window's file dialog as shown to the operator: Qt's file dialog with the designed
// filters, the preselected filter and the default extension. nullopt when cancelled.
#include <optional>

#include "app/FileDialogs.h"

class QWidget;

namespace qx {

std::optional<FileDialogChoice> ShowFileDialogBox(QWidget* parent, const FileDialogRequest& request);

}  // namespace qx
