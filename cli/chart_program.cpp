#include "chart_program.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <vector>

#include "chart/format.h"

extern char** environ;

namespace companion {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kProgram = "daylight-chart";

fs::path FindProgram() {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (error) return {};
    for (const fs::path& folder :
         {self.parent_path(), self.parent_path() / DAYLIGHT_CHART_DIR_FROM_BINDIR}) {
        const fs::path program = folder / kProgram;
        if (access(program.c_str(), X_OK) == 0) return program;
    }
    return {};
}

}  // namespace

std::string TailOf(int fd) {
    std::string text;
    bool cut = false;
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0) {
            text.append(buffer, std::size_t(n));
            // Read to the end, but keep no more than twice what is kept at any time.
            if (text.size() > 2 * kTailKept) {
                text.erase(0, text.size() - kTailKept);
                cut = true;
            }
        } else if (n == 0 || errno != EINTR) {
            break;
        }
    }
    if (text.size() > kTailKept) {
        text.erase(0, text.size() - kTailKept);
        cut = true;
    }
    while (!text.empty() && text.back() == '\n') text.pop_back();
    return cut ? "..." + text : text;
}

bool AddChartOption(CLI::App& command, std::string& path, const std::string& what) {
    command.add_option("--chart", path, "Also draw " + what + " into FILE.svg or FILE.png")
        ->type_name("FILE")
        ->check([](const std::string& name) -> std::string {
            if (chart::FormatOf(name)) return "";
            return "the chart's file name must end in .svg or .png";
        });
    return true;
}

std::string RenderPng(const std::string& svgPath, const std::string& pngPath) {
    const fs::path program = FindProgram();
    if (program.empty()) return std::string(kProgram) + " is not installed";
    std::vector<std::string> args = {std::string(kProgram), svgPath, pngPath};
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);

    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) return std::strerror(errno);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        close(pipeFds[0]);
        return program.string() + ": " + std::strerror(spawned);
    }
    const std::string reason = TailOf(pipeFds[0]);
    close(pipeFds[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return "";
    if (!reason.empty()) return reason;
    if (WIFSIGNALED(status))
        return program.string() + " stopped by signal " + std::to_string(WTERMSIG(status));
    return program.string() + " failed";
}

}  // namespace companion
