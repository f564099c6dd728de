#pragma once
// The batch start's load shown in the main window as the window's own load is.
#include "app/ProjectView.h"
#include "app/ui/MainController.h"

namespace qx {

class WindowProjectView final : public ProjectView {
 public:
  explicit WindowProjectView(MainController& controller) : controller_(controller) {}
  ProgramControls ShownControls() const override;
  void ShowLoad(const ProjectLoadResult& r) override;

 private:
  MainController& controller_;
};

}  // namespace qx
