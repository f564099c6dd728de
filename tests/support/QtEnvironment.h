#pragma once
// One QApplication for a test executable of dialogs or windows. It lives from before the
// first test to after the last one; a static one would outlive Qt's own globals at exit.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace qx::test {

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { app_ = std::make_unique<QApplication>(argc_, argv_); }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[6] = "tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};

// gtest owns the environment; the inline variable registers it once per executable.
inline ::testing::Environment* const qtEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace qx::test
