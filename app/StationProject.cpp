// Project load and save over the station's state: the window's commands and the batch
// start go through here.
#include "app/Station.h"
#include "app/UnitSerialNumbers.h"

namespace qx {

ProjectEnv Station::MakeProjectEnv(Operator& op) {
  ProjectEnv env{*model_, wire_->Driver, appDir_, log_, op, *random_, projectSection_};
  env.UnitCount = sessions_->UnitCount;
  env.CmdLineMode = cmdLineMode_ != 0;
  return env;
}

ProjectLoadResult Station::LoadProject(const std::string& path, const ProgramControls& shown, Operator& op) {
  ProjectEnv env = MakeProjectEnv(op);
  ProjectLoadResult r = qx::LoadProjectFile(path, shown, env);
  // The units' own numbers were placed over the image the load replaced.
  if (r.Read == ProjectReadResult::PrjOk) ForgetSerialNumbers(*this);
  return r;
}

ProjectLoadResult Station::LoadProjectFile(const std::string& path, const ProgramControls& shown) {
  return LoadProject(path, shown, op_);
}

void Station::SavetoProjectFile(const std::string& path, const ProgramControls& controls) {
  ProjectEnv env = MakeProjectEnv(op_);
  qx::SavetoProjectFile(path, controls, env);
}

}  // namespace qx
