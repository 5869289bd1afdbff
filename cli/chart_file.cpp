#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "chart/format.h"
#include "chart/whole_file.h"
#include "chart_program.h"
#include "quoted.h"

namespace companion {

std::string WriteChart(const std::string& path, const std::string& svg) {
    if (chart::FormatOf(path) == chart::Format::Svg) return chart::ReplaceWhole(path, svg);
    // The SVG in a file of its own for the renderer, gone again once it has drawn.
    const char* given = std::getenv("TMPDIR");
    const std::string folder = given && *given ? given : "/tmp";
    std::string name = folder + "/daylight-XXXXXX.svg";
    const int fd = mkstemps(name.data(), 4);
    if (fd < 0) {
        return "no temporary file for the renderer in " + Quoted(folder) +
               (given && *given ? " (TMPDIR)" : "") + ": " + std::strerror(errno);
    }
    close(fd);
    std::string problem = chart::ReplaceWhole(name, svg);
    if (problem.empty()) problem = RenderPng(name, path);
    unlink(name.c_str());
    return problem;
}

}  // namespace companion
