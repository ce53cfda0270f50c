#include "tests/cli/cli_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <sstream>

#include "platform/core/file_system.h"

CliRun RunCli(const std::vector<std::string>& args, const std::string& home, int interruptAfterMs) {
  int outPipe[2], errPipe[2];
  if (pipe(outPipe) != 0 || pipe(errPipe) != 0) return {};
  std::string binary = platform::ExecutableFolder() + "korvane-cli";
  pid_t pid = fork();
  if (pid == 0) {
    dup2(outPipe[1], 1);
    dup2(errPipe[1], 2);
    close(outPipe[0]);
    close(errPipe[0]);
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
    std::vector<char*> argv{const_cast<char*>(binary.c_str())};
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(binary.c_str(), argv.data());
    _exit(127);
  }
  close(outPipe[1]);
  close(errPipe[1]);
  CliRun run;
  auto start = std::chrono::steady_clock::now();
  bool interrupted = false;
  pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
  int open = 2;
  while (open > 0) {
    poll(fds, 2, 20);
    for (auto& fd : fds) {
      if (fd.fd < 0 || !(fd.revents & (POLLIN | POLLHUP))) continue;
      char buf[4096];
      ssize_t n = read(fd.fd, buf, sizeof buf);
      if (n <= 0) {
        close(fd.fd);
        fd.fd = -1;
        --open;
        continue;
      }
      (fd.fd == outPipe[0] ? run.out : run.err).append(buf, static_cast<std::size_t>(n));
    }
    auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                       std::chrono::steady_clock::now() - start).count();
    if (interruptAfterMs > 0 && !interrupted && elapsed >= interruptAfterMs) {
      kill(pid, SIGINT);
      interrupted = true;
    }
  }
  int status = 0;
  waitpid(pid, &status, 0);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return run;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}
