#include "TestUtil.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {
std::string ReadAll(int fd)
{
    std::string s;
    char buf[4096];
    for (;;) {
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n <= 0) break;
        s.append(buf, static_cast<std::size_t>(n));
    }
    return s;
}

Izid Wait(pid_t pid, int fd)
{
    Izid r;
    r.out = ReadAll(fd);
    close(fd);
    int st = 0;
    waitpid(pid, &st, 0);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}
}  // namespace

Izid RunChild(const std::function<void()>& f)
{
    std::cout.flush();
    std::fflush(nullptr);
    int p[2];
    if (pipe(p) != 0) return {};
    const pid_t pid = fork();
    if (pid == 0) {
        close(p[0]);
        dup2(p[1], 1);
        dup2(p[1], 2);
        const int nul = open("/dev/null", O_RDONLY);
        dup2(nul, 0);
        std::cin.clear();
        f();
        std::cout.flush();
        std::fflush(nullptr);
        _exit(0);
    }
    close(p[1]);
    return Wait(pid, p[0]);
}

Izid RunNivex(const std::vector<std::string>& args, const std::string& workdir, const std::string& stdinText)
{
    std::fflush(nullptr);
    int out[2], in[2];
    if (pipe(out) != 0 || pipe(in) != 0) return {};
    const pid_t pid = fork();
    if (pid == 0) {
        close(out[0]);
        close(in[1]);
        dup2(out[1], 1);
        dup2(out[1], 2);
        dup2(in[0], 0);
        if (chdir(workdir.c_str()) != 0) _exit(127);
        std::vector<char*> argv;
        std::string exe = NIVEX_EXE;
        argv.push_back(exe.data());
        std::vector<std::string> a(args);
        for (auto& s : a) argv.push_back(s.data());
        argv.push_back(nullptr);
        execv(exe.c_str(), argv.data());
        _exit(127);
    }
    close(out[1]);
    close(in[0]);
    if (!stdinText.empty()) {
        const ssize_t w = write(in[1], stdinText.data(), stdinText.size());
        (void)w;
    }
    close(in[1]);
    return Wait(pid, out[0]);
}

std::string TempDir(const std::string& tag)
{
    namespace fs = std::filesystem;
    std::string templ = (fs::temp_directory_path() / ("nivex_" + tag + "_XXXXXX")).string();
    if (mkdtemp(templ.data()) == nullptr) return "/tmp";
    return templ;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream f(path, std::ios::binary);
    f << text;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> v;
    std::istringstream s(text);
    std::string l;
    while (std::getline(s, l)) v.push_back(l);
    return v;
}
