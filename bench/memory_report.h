#pragma once

#include <fstream>
#include <string>

namespace bench {

/// Writes the process's peak resident memory and its anonymous (heap and stack) resident
/// memory, in kB, as "VmHWM N" and "RssAnon N" lines: the part of the peak that is the
/// process's own, apart from the pages of libraries and font files it has mapped.
inline void writeMemoryReport(const char* file) {
    std::ifstream status("/proc/self/status");
    std::ofstream out(file);
    std::string line;
    while (std::getline(status, line)) {
        for (const char* key : {"VmHWM:", "RssAnon:", "RssFile:"}) {
            if (line.rfind(key, 0) == 0) {
                out << std::string(key, std::string(key).size() - 1) << ' '
                    << std::stol(line.substr(std::string(key).size())) << '\n';
            }
        }
    }
}

}  // namespace bench
