#include "watch/SplitChild.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

namespace tessera::app {

SplitChild::SplitChild(const std::string& program, const std::vector<std::string>& arguments) {
    output_ = ::memfd_create("tessera-report", MFD_CLOEXEC);
    errors_ = ::memfd_create("tessera-errors", MFD_CLOEXEC);
    if (output_ < 0 || errors_ < 0) {
        if (output_ >= 0) ::close(output_);
        if (errors_ >= 0) ::close(errors_);
        throw std::runtime_error("cannot make a place for a split's report");
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t parent = ::getpid();
    pid_ = ::fork();
    if (pid_ < 0) {
        ::close(output_);
        ::close(errors_);
        throw std::runtime_error("cannot start a split process");
    }
    if (pid_ == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent) ::_exit(143);  // the watcher died before the line above
        // The watcher holds these back or ignores them; the split must not.
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        for (const int s : {SIGTERM, SIGINT, SIGHUP, SIGPIPE}) ::signal(s, SIG_DFL);
        ::dup2(output_, STDOUT_FILENO);
        ::dup2(errors_, STDERR_FILENO);
        const int devNull = ::open("/dev/null", O_RDONLY);
        if (devNull >= 0) ::dup2(devNull, STDIN_FILENO);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
}

SplitChild::SplitChild(SplitChild&& other) noexcept : pid_(other.pid_), output_(other.output_), status_(other.status_) {
    other.pid_ = -1;
    other.output_ = -1;
}

SplitChild::~SplitChild() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
    if (output_ >= 0) ::close(output_);
    if (errors_ >= 0) ::close(errors_);
}

bool SplitChild::Ended() {
    if (pid_ <= 0) return true;
    if (::waitpid(pid_, &status_, WNOHANG) != pid_) return false;
    pid_ = -1;
    return true;
}

void SplitChild::Terminate() const {
    if (pid_ > 0) ::kill(pid_, SIGTERM);
}

std::string SplitChild::Printed(int fd) {
    std::string text;
    char buffer[65536];
    for (off_t at = 0;;) {
        const ssize_t got = ::pread(fd, buffer, sizeof buffer, at);
        if (got <= 0) break;
        text.append(buffer, static_cast<std::size_t>(got));
        at += got;
    }
    return text;
}

}  // namespace tessera::app
