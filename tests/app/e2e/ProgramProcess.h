#pragma once
// The real executable run as a separate process from a program folder of its own: it is
// copied there (the program takes its folder from its own path), started with the given
// arguments and the offscreen platform, its output kept in a file of the folder. A process
// still running when the object goes is ended (SIGKILL) and reaped.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace qx::test {

class ProgramProcess {
 public:
  // Copies executable into dir (with a trailing '/') under its own name.
  ProgramProcess(const std::string& executable, const std::string& dir) : dir_(dir) {
    const std::filesystem::path from(executable);
    path_ = dir + from.filename().string();
    std::error_code ec;
    std::filesystem::create_hard_link(from, path_, ec);
    if (ec) std::filesystem::copy_file(from, path_, std::filesystem::copy_options::overwrite_existing);
  }
  ~ProgramProcess() {
    if (pid_ > 0 && !status_) {
      ::kill(pid_, SIGKILL);
      int status = 0;
      ::waitpid(pid_, &status, 0);
    }
  }
  ProgramProcess(const ProgramProcess&) = delete;
  ProgramProcess& operator=(const ProgramProcess&) = delete;

  // prefix: a command that runs the program (another user's, for example); empty: none.
  bool Start(const std::vector<std::string>& args, const std::vector<std::string>& prefix = {}) {
    std::vector<std::string> argv = prefix;
    argv.push_back(path_);
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> cargv;
    for (auto& a : argv) cargv.push_back(a.data());
    cargv.push_back(nullptr);
    std::vector<std::string> env = {"QT_QPA_PLATFORM=offscreen"};
    for (char** e = environ; *e != nullptr; ++e) {
      if (std::string_view(*e).rfind("QT_QPA_PLATFORM=", 0) != 0) env.emplace_back(*e);
    }
    std::vector<char*> cenv;
    for (auto& e : env) cenv.push_back(e.data());
    cenv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string out = dir_ + "program-output.txt";
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    const int rc = posix_spawn(&pid_, argv[0].c_str(), &actions, nullptr, cargv.data(), cenv.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) pid_ = -1;
    return pid_ > 0;
  }

  // Sends sig to the running program.
  bool Signal(int sig) { return pid_ > 0 && !status_ && ::kill(pid_, sig) == 0; }

  // The exit status once the process has ended by itself; nullopt while it runs.
  std::optional<int> Status() {
    if (!status_ && pid_ > 0) {
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) status_ = status;
    }
    return status_;
  }
  bool Running() { return pid_ > 0 && !Status(); }

  // Polls done every 20 ms until it holds or limit passes.
  static bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
      if (std::chrono::steady_clock::now() > end) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
  }
  bool WaitForExit(std::chrono::milliseconds limit) {
    return WaitFor([this] { return !Running(); }, limit);
  }

  // Waits until the program's output holds part, or limit passes.
  bool WaitForOutput(const std::string& part, std::chrono::milliseconds limit) const {
    return WaitFor([&] { return Output().find(part) != std::string::npos; }, limit);
  }

  // The kernel shows the program catching sig: its own handler is in place (SigCgt of
  // /proc/PID/status).
  bool Catches(int sig) const {
    std::ifstream in("/proc/" + std::to_string(pid_) + "/status");
    for (std::string line; std::getline(in, line);) {
      if (line.rfind("SigCgt:", 0) == 0) return (std::stoull(line.substr(7), nullptr, 16) >> (sig - 1)) & 1;
    }
    return false;
  }
  // The program has mapped a library whose path holds part (Qt's platform plugin, say).
  bool Maps(const std::string& part) const {
    std::ifstream in("/proc/" + std::to_string(pid_) + "/maps");
    for (std::string line; std::getline(in, line);) {
      if (line.find(part) != std::string::npos) return true;
    }
    return false;
  }
  // As WaitFor, polling without a pause: for a sign that lasts only a moment before the
  // next one, such as the very start of main().
  static bool WaitClosely(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
      if (std::chrono::steady_clock::now() > end) return false;
      std::this_thread::yield();
    }
    return true;
  }

  // The program's standard output and error, in one file.
  std::string Output() const {
    std::ifstream in(dir_ + "program-output.txt", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

 private:
  std::string dir_;
  std::string path_;
  pid_t pid_ = -1;
  std::optional<int> status_;
};

}  // namespace qx::test
