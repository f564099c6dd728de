#pragma once
// One QApplication for the test program, created before the first test and destroyed after
// the last (a static one would outlive Qt's own globals). Several test files may register
// it; only the first creates the application.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace qx::test {

class QtAppEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (QCoreApplication::instance() == nullptr) app_ = std::make_unique<QApplication>(argc_, argv_);
  }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[9] = "qx_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};

// gtest takes ownership of the environment.
inline ::testing::Environment* const qtAppEnvironment = ::testing::AddGlobalTestEnvironment(new QtAppEnvironment);

}  // namespace qx::test
