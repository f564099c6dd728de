#pragma once
// What the benchmarks share: the unitsim executable as a paced child process, the CPU
// time of this process and of the child, a fresh run of the benchmark itself for the
// figures of a process's first call, medians and the machine's load.
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace qx::bench {

inline double Seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; }

inline double CpuOf(int who) {
  rusage u{};
  ::getrusage(who, &u);
  return Seconds(u.ru_utime) + Seconds(u.ru_stime);
}

// User + system seconds of a running process, from /proc (clock-tick resolution).
inline double CpuOfPid(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto paren = all.rfind(')');
  if (paren == std::string::npos) return 0;
  std::istringstream fields(all.substr(paren + 2));
  std::string f;
  double utime = 0, stime = 0;
  // Fields from 3 (state) on; utime and stime are fields 14 and 15.
  for (int i = 3; i <= 15 && fields >> f; ++i) {
    if (i == 14) utime = std::stod(f);
    if (i == 15) stime = std::stod(f);
  }
  return (utime + stime) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

// The unitsim executable as a child with its standard output on a pipe.
class SimulatorProcess {
 public:
  SimulatorProcess(const std::string& exe, int units, const std::string& dir) {
    int fds[2];
    if (::pipe(fds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addclose(&actions, fds[1]);
    const std::string n = std::to_string(units);
    std::vector<std::string> args = {exe, "--units", n, "--dir", dir, "--pace"};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, exe.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    out_ = ::fdopen(fds[0], "r");
  }
  ~SimulatorProcess() {
    Stop();
    if (out_) std::fclose(out_);
  }
  SimulatorProcess(const SimulatorProcess&) = delete;
  SimulatorProcess& operator=(const SimulatorProcess&) = delete;

  bool Running() const { return pid_ > 0 && out_ != nullptr; }
  pid_t Pid() const { return pid_; }
  bool ReadLine(std::string& line) {
    std::array<char, 1024> buf{};
    if (!out_ || !std::fgets(buf.data(), static_cast<int>(buf.size()), out_)) return false;
    line = buf.data();
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    return true;
  }
  // The simulator's wire figures start again from here (SIGUSR1).
  void MarkWire() {
    if (pid_ > 0) ::kill(pid_, SIGUSR1);
  }
  // SIGINT, then the summary lines it prints, then its exit.
  std::vector<std::string> Stop() {
    std::vector<std::string> lines;
    if (pid_ <= 0) return lines;
    ::kill(pid_, SIGINT);
    for (std::string l; ReadLine(l);) lines.push_back(l);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return lines;
  }

 private:
  pid_t pid_ = -1;
  FILE* out_ = nullptr;
};

// The simulator's closing line of wire figures, read from its summary.
struct WireSummary {
  bool Found = false;
  unsigned long long In = 0, Out = 0;
  std::size_t TurnRounds = 0;
  double MedianUs = 0, P99Us = 0;
};

inline WireSummary FindWireSummary(const std::vector<std::string>& lines) {
  WireSummary w;
  for (const std::string& l : lines) {
    if (std::sscanf(l.c_str(), "wire: in %llu out %llu bytes, %zu turn-rounds, median %lf us, p99 %lf us", &w.In,
                    &w.Out, &w.TurnRounds, &w.MedianUs, &w.P99Us) == 5)
      w.Found = true;
  }
  return w;
}

// The load average of the last minute, 5 and 15 minutes as the system prints it.
inline std::string LoadAverage() {
  std::ifstream in("/proc/loadavg");
  std::string one, five, fifteen;
  in >> one >> five >> fifteen;
  return one + " " + five + " " + fifteen;
}

inline double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const std::size_t m = v.size() / 2;
  return v.size() % 2 == 1 ? v[m] : (v[m - 1] + v[m]) / 2;
}

// This executable.
inline std::string SelfPath() {
  std::error_code ec;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : self.string();
}

// Runs exe with args as a child and returns what it wrote to its standard output; ok is
// false when it could not start or did not end with status 0.
inline std::string RunAndRead(const std::string& exe, std::vector<std::string> args, bool& ok) {
  ok = false;
  int fds[2];
  if (::pipe(fds) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  posix_spawn_file_actions_addclose(&actions, fds[1]);
  args.insert(args.begin(), exe);
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  const bool started = posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv.data(), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  ::close(fds[1]);
  std::string out;
  std::array<char, 4096> buf{};
  for (ssize_t n; (n = ::read(fds[0], buf.data(), buf.size())) > 0;) out.append(buf.data(), static_cast<std::size_t>(n));
  ::close(fds[0]);
  if (!started) return out;
  int status = 0;
  ::waitpid(pid, &status, 0);
  ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return out;
}

// "met" or "MISSED".
inline const char* Met(bool met) { return met ? "met" : "MISSED"; }

// The unitsim executable beside the benchmarks (../unitsim/unitsim).
inline std::string DefaultSimulatorPath() {
  std::error_code ec;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return "unitsim";
  return (self.parent_path().parent_path() / "unitsim" / "unitsim").string();
}

}  // namespace qx::bench
