#pragma once
// Where the batch start's project load is shown: the settings the view shows before it,
// and the good load for the view to apply itself. Without one the design values stand in.
#include "app/ProjectCommands.h"

namespace qx {

class ProjectView {
 public:
  virtual ~ProjectView() = default;
  virtual ProgramControls ShownControls() const = 0;
  virtual void ShowLoad(const ProjectLoadResult& r) = 0;
};

}  // namespace qx
