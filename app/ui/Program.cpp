#include "app/ui/Program.h"

namespace qx {

Program::Program(ProgramSetup setup) {
  StationSetup s{setup.AppDir, setup.Poster != nullptr ? *setup.Poster : poster_, window_};
  s.Guard = &window_;
  s.Modals = &window_.OpenModalLoops();
  s.Sleep = std::move(setup.Sleep);
  s.Clock = std::move(setup.Clock);
  s.Scan = std::move(setup.Scan);
  s.Random = std::move(setup.Random);
  s.ErrorOut = std::move(setup.ErrorOut);
  station_ = std::make_unique<Station>(std::move(s));
  forms_ = CreateProgramForms(window_, station_->DialogJob(), station_->Log(), station_->AppDir());
  controller_ = std::make_unique<MainController>(window_, *station_, forms_);
  projectView_ = std::make_unique<WindowProjectView>(*controller_);
  station_->SetProjectView(projectView_.get());
}

Program::~Program() {
  station_->SetProjectView(nullptr);
  projectView_.reset();
  controller_.reset();
  window_.SetForms(nullptr, nullptr, nullptr);
  forms_ = {};
  // The ports close before the window goes; nothing reports to the window after it.
  station_.reset();
}

}  // namespace qx
