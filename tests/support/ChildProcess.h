// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Running a piece of the program in a forked child: to kill it at a chosen moment, or to give it
// limits (file size, user) that must not touch the test process itself.
#include <chrono>
#include <csignal>
#include <functional>
#include <string>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace zg::test {

// Runs `work` in a child process and kills it with SIGKILL `delay` after the child reports that
// it is about to start (so the fork itself does not count). A negative delay lets it finish.
// Returns how long the work ran in the child until it was killed or finished.
inline std::chrono::microseconds RunAndKill(const std::function<void()>& work, std::chrono::microseconds delay) {
    int signal[2];
    if (::pipe(signal) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(signal[0]);
        const char step = 1;
        (void)!::write(signal[1], &step, 1); // starting
        work();
        (void)!::write(signal[1], &step, 1); // done
        ::_exit(0);
    }
    ::close(signal[1]);
    char step = 0;
    (void)!::read(signal[0], &step, 1);
    const auto start = std::chrono::steady_clock::now();
    if (delay.count() >= 0) {
        // Short delays are waited for by spinning: a sleep is rarely shorter than about 50 us.
        if (delay < std::chrono::milliseconds(2))
            while (std::chrono::steady_clock::now() - start < delay) {
            }
        else
            std::this_thread::sleep_for(delay);
        ::kill(child, SIGKILL);
    }
    (void)!::read(signal[0], &step, 1); // the done byte, or the end of the pipe when killed first
    const auto ran = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    ::close(signal[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return ran;
}

// Forks a child that runs `work` under ptrace, stopped before its first instruction of `work`,
// with system-call stops marked (TRACESYSGOOD) and killed should the tracer die.
inline pid_t StartTracedChild(const std::function<void()>& work) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
        ::raise(SIGSTOP);
        work();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ::ptrace(PTRACE_SETOPTIONS, child, nullptr, reinterpret_cast<void*>(PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL));
    return child;
}

// Runs `work` in a child process under ptrace and kills it with SIGKILL when it enters its system
// call number `killAt` (counted from 0; that call does not run), so every point where the work
// touches a file can be hit exactly, whatever the load of the machine. A negative `killAt` lets it
// finish. Returns the number of system calls the work entered (with the final exit when it
// finished).
inline int RunAndKillAtSystemCall(const std::function<void()>& work, int killAt) {
    const pid_t child = StartTracedChild(work);
    int status = 0;
    int entered = 0;
    bool inCall = false;
    long forwardSignal = 0;
    for (;;) {
        ::ptrace(PTRACE_SYSCALL, child, nullptr, reinterpret_cast<void*>(forwardSignal));
        forwardSignal = 0;
        if (::waitpid(child, &status, 0) != child || WIFEXITED(status) || WIFSIGNALED(status))
            return entered;
        if (WSTOPSIG(status) != (SIGTRAP | 0x80)) {
            forwardSignal = WSTOPSIG(status); // a signal of the work's own: deliver it
            continue;
        }
        inCall = !inCall;
        if (!inCall)
            continue;
        if (entered == killAt) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            return entered;
        }
        ++entered;
    }
}

// Runs `work` in a child process under ptrace, holds it when it enters the first system call for
// which `stopHere(number, index)` is true (`index` counts the calls from 0; that call has not run
// yet), runs `whileHeld` here, and then lets the child run to its end. Returns whether the child
// was held: a slow disk, or another process's step taken at exactly that moment, without timing.
inline bool RunHeldAtSystemCall(const std::function<void()>& work, const std::function<bool(long, int)>& stopHere,
                                const std::function<void()>& whileHeld) {
    const pid_t child = StartTracedChild(work);
    int status = 0;
    bool held = false;
    long forwardSignal = 0;
    for (int index = 0;;) {
        ::ptrace(PTRACE_SYSCALL, child, nullptr, reinterpret_cast<void*>(forwardSignal));
        forwardSignal = 0;
        if (::waitpid(child, &status, 0) != child || WIFEXITED(status) || WIFSIGNALED(status))
            return held;
        if (WSTOPSIG(status) != (SIGTRAP | 0x80)) {
            forwardSignal = WSTOPSIG(status);
            continue;
        }
        __ptrace_syscall_info info{};
        ::ptrace(PTRACE_GET_SYSCALL_INFO, child, reinterpret_cast<void*>(sizeof info), &info);
        if (info.op != PTRACE_SYSCALL_INFO_ENTRY)
            continue;
        if (stopHere(static_cast<long>(info.entry.nr), index++)) {
            held = true;
            whileHeld();
            ::ptrace(PTRACE_DETACH, child, nullptr, nullptr);
            ::waitpid(child, &status, 0);
            return held;
        }
    }
}

// Runs `work` in a child process and returns what it wrote to the pipe it is given, and whether
// it exited with status 0.
struct ChildOutcome {
    bool exitedZero = false;
    std::string output;
};

inline ChildOutcome RunInChild(const std::function<void(int out)>& work) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        work(pipeFds[1]);
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    ChildOutcome outcome;
    char buffer[256];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        outcome.output.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    outcome.exitedZero = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return outcome;
}

} // namespace zg::test
