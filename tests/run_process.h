// Runs a program as a user's shell would and collects what it leaves: exit
// status, standard output and standard error. The output is captured in a
// temporary folder of the child's own, removed with it. CChildProcess runs
// one in the background (a program that stays until told to end);
// RunProcess runs one to its end.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/temp_folder.h"

extern char** environ;

struct ProcessOptions {
    std::string folder = {};             // the working folder; empty: this process's
    std::vector<std::string> env = {};   // "NAME=value", over this process's environment
    std::vector<std::string> unset = {}; // names taken out of it
    std::string stdoutPath = {};         // standard output goes there (/dev/full) instead
    long long fileSizeLimit = -1;        // RLIMIT_FSIZE, SIGXFSZ ignored: a longer write fails
    std::vector<int> closed = {};        // standard descriptors it starts without (2>&-)
};

struct ProcessResult {
    int status = -1; // exit status, or -1 when it did not exit normally
    std::string out;
    std::string err;
};

class CChildProcess {
public:
    // exe is looked up on PATH when it has no slash.
    CChildProcess(const std::string& exe, const std::vector<std::string>& args,
                  const ProcessOptions& options = {}) {
        const std::string path = Resolve(exe);
        std::vector<std::string> argStore{exe};
        argStore.insert(argStore.end(), args.begin(), args.end());
        std::vector<std::string> envStore = Environment(options);
        std::vector<char*> argv = Pointers(argStore), envp = Pointers(envStore);
        const std::string outPath =
            options.stdoutPath.empty() ? m_capture / "out" : options.stdoutPath;
        const std::string errPath = m_capture / "err";
        m_bCapturedOut = options.stdoutPath.empty();

        // Between fork and exec only async-signal-safe calls.
        m_pid = ::fork();
        if (m_pid != 0)
            return;
        sigset_t none;
        ::sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        const int in = ::open("/dev/null", O_RDONLY);
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in < 0 || out < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 ||
            ::dup2(err, 2) < 0 || (!options.folder.empty() && ::chdir(options.folder.c_str()) != 0))
            ::_exit(127);
        for (const int fd : options.closed)
            ::close(fd);
        if (options.fileSizeLimit >= 0) {
            struct sigaction ignore {};
            ignore.sa_handler = SIG_IGN;
            ::sigaction(SIGXFSZ, &ignore, nullptr);
            const rlimit limit{static_cast<rlim_t>(options.fileSizeLimit),
                               static_cast<rlim_t>(options.fileSizeLimit)};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        ::execve(path.c_str(), argv.data(), envp.data());
        ::_exit(127);
    }
    ~CChildProcess() {
        if (m_pid > 0 && !m_bReaped) {
            ::kill(m_pid, SIGKILL);
            Wait();
        }
    }
    CChildProcess(const CChildProcess&) = delete;
    CChildProcess& operator=(const CChildProcess&) = delete;

    pid_t Pid() const { return m_pid; }
    // True once it has ended (it is then reaped); never blocks.
    bool Ended() {
        if (m_pid <= 0 || m_bReaped)
            return true;
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) != m_pid)
            return false;
        Reaped(status);
        return true;
    }
    // Blocks until it ends; its exit status, or -1.
    int Wait() {
        int status = 0;
        if (m_pid > 0 && !m_bReaped && ::waitpid(m_pid, &status, 0) == m_pid)
            Reaped(status);
        return m_nStatus;
    }
    void Signal(int signal) {
        if (m_pid > 0 && !m_bReaped)
            ::kill(m_pid, signal);
    }
    int Status() const { return m_nStatus; }
    bool Signalled() const { return m_bSignalled; }
    std::string Out() const { return m_bCapturedOut ? Slurp(m_capture / "out") : std::string(); }
    std::string Err() const { return Slurp(m_capture / "err"); }

private:
    void Reaped(int status) {
        m_bReaped = true;
        m_bSignalled = WIFSIGNALED(status);
        m_nStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    static std::string Resolve(const std::string& exe) {
        if (exe.find('/') != std::string::npos)
            return exe;
        const char* path = std::getenv("PATH");
        std::istringstream folders(path ? path : "/usr/bin:/bin");
        for (std::string folder; std::getline(folders, folder, ':');)
            if (const std::string candidate = folder + "/" + exe;
                ::access(candidate.c_str(), X_OK) == 0)
                return candidate;
        return exe;
    }
    static std::vector<std::string> Environment(const ProcessOptions& options) {
        std::vector<std::string> env;
        auto name = [](const std::string& entry) { return entry.substr(0, entry.find('=')); };
        auto replaced = [&](const std::string& entry) {
            for (const std::string& n : options.unset)
                if (name(entry) == n)
                    return true;
            for (const std::string& e : options.env)
                if (name(entry) == name(e))
                    return true;
            return false;
        };
        for (char** e = environ; *e; ++e)
            if (!replaced(*e))
                env.emplace_back(*e);
        env.insert(env.end(), options.env.begin(), options.env.end());
        return env;
    }
    static std::vector<char*> Pointers(std::vector<std::string>& strings) {
        std::vector<char*> pointers;
        for (std::string& s : strings)
            pointers.push_back(s.data());
        pointers.push_back(nullptr);
        return pointers;
    }
    static std::string Slurp(const std::string& path) {
        std::ostringstream s;
        s << std::ifstream(path, std::ios::binary).rdbuf();
        return s.str();
    }

    CTempFolder m_capture;
    pid_t m_pid = -1;
    bool m_bReaped = false;
    bool m_bSignalled = false;
    bool m_bCapturedOut = true;
    int m_nStatus = -1;
};

// Runs exe with args to its end.
inline ProcessResult RunProcess(const std::string& exe, const std::vector<std::string>& args,
                                const ProcessOptions& options = {}) {
    CChildProcess child(exe, args, options);
    ProcessResult r;
    r.status = child.Wait();
    r.out = child.Out();
    r.err = child.Err();
    return r;
}
