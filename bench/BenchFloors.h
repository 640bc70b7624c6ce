// The floors the project benchmarks weigh an operation against, measured on
// the same files in the same run: what the machine takes to read or write
// the bytes with no model at all.
#pragma once

#include <foundation/Sys.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

inline std::vector<std::string> BenchReadLines(const std::string& file)
{
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(std::move(line));
    return lines;
}

// The project file read and split into lines, and every member read whole.
inline void BenchReadLinesAndMembers(const std::string& file, const std::vector<std::string>& members)
{
    const std::vector<std::string> lines = BenchReadLines(file);
    char buffer[1 << 16];
    std::size_t bytes = 0;
    for (const std::string& member : members) {
        const int fd = ::open(member.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) continue;
        for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;) bytes += static_cast<std::size_t>(got);
        ::close(fd);
    }
    benchmark::DoNotOptimize(lines.data());
    benchmark::DoNotOptimize(bytes);
}

// The best of a few runs, in seconds.
template <class Run>
double BenchBestOf(int runs, const Run& run)
{
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        run();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}
