#pragma once
// One input split by a child process running `tessera split`: a crash or an
// exhausted memory ends that split, not the watcher, and the child's JSON
// report is the watcher's account of it. The child is ended (SIGTERM, which
// removes its temporary output) when the watcher dies, even by kill -9.
#include <sys/types.h>

#include <string>
#include <vector>

namespace tessera::app {

class SplitChild {
public:
    // Starts `program` with `arguments`; its stdout and stderr are kept.
    // Throws std::runtime_error when no process can be started.
    SplitChild(const std::string& program, const std::vector<std::string>& arguments);
    SplitChild(SplitChild&& other) noexcept;
    SplitChild& operator=(SplitChild&&) = delete;
    SplitChild(const SplitChild&) = delete;
    ~SplitChild();
    pid_t Pid() const { return pid_; }
    // Whether it ended; its wait status is then Status().
    bool Ended();
    int Status() const { return status_; }
    void Terminate() const;
    // What it printed on stdout, and on stderr.
    std::string Report() const { return Printed(output_); }
    std::string Errors() const { return Printed(errors_); }

private:
    static std::string Printed(int fd);
    pid_t pid_ = -1;
    // Unnamed files: what it prints never blocks it, however long.
    int output_ = -1, errors_ = -1;
    int status_ = 0;
};

}  // namespace tessera::app
