#pragma once
// The designed titles, filters, preselected filter and default extension of the main
// window's file dialogs, in Qt's "description (patterns)" form. Filter indexes count from 1
// in the designed order; the save command maps them to formats.
#include <string>
#include <vector>

namespace qx {

struct FileDialogDesign {
  std::vector<std::string> Filters;
  int SelectedFilter = 1;
  std::string DefaultSuffix;  // without the dot
};

FileDialogDesign ObjectOpenDialog();  // "OpenDialog1"
FileDialogDesign EepOpenDialog();     // "OpenDialogOTP"
FileDialogDesign SaveDialog();        // "SaveDialog1", shared by both saves
FileDialogDesign ProjectSaveDialog();  // "SaveDialogPrj"
FileDialogDesign ProjectOpenDialog();  // "OpenDialogPrj"

// The project dialogs' titles; the other dialogs keep Qt's own.
std::string ProjectSaveDialogTitle();
std::string ProjectOpenDialogTitle();

// The 1-based index of filter in design, 0 when it is not one of them.
int FilterIndexOf(const FileDialogDesign& design, const std::string& filter);

// What a command asks of the window's file dialog, and the operator's answer.
enum class FileDialogMode : unsigned char { Open, Save };
struct FileDialogRequest {
  FileDialogMode Mode = FileDialogMode::Open;
  FileDialogDesign Design;
  std::string Title;  // empty: the dialog's own
};
struct FileDialogChoice {
  std::string Path;
  int FilterIndex = 0;  // of the filter chosen, as FilterIndexOf counts
};

}  // namespace qx
