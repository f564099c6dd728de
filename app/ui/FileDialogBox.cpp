#include "app/ui/FileDialogBox.h"

#include <QFileDialog>
#include <QStringList>

#include "app/ui/QtText.h"

namespace qx {

std::optional<FileDialogChoice> ShowFileDialogBox(QWidget* parent, const FileDialogRequest& request) {
  const FileDialogDesign& d = request.Design;
  QFileDialog dialog(parent);
  if (!request.Title.empty()) dialog.setWindowTitle(QtText(request.Title));
  const bool save = request.Mode == FileDialogMode::Save;
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  QStringList filters;
  for (const std::string& f : d.Filters) filters << QtText(f);
  dialog.setNameFilters(filters);
  if (d.SelectedFilter >= 1 && d.SelectedFilter <= filters.size()) dialog.selectNameFilter(filters[d.SelectedFilter - 1]);
  dialog.setDefaultSuffix(QtText(d.DefaultSuffix));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return FileDialogChoice{dialog.selectedFiles().front().toStdString(),
                          FilterIndexOf(d, dialog.selectedNameFilter().toStdString())};
}

}  // namespace qx
