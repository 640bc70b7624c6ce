// A pass over many independent elements (a save formatting a hundred
// thousand files, or asking as many units what they have to write) split
// into consecutive slices run at once: each element is mostly a wait for
// memory, and several threads wait side by side. Each slice writes only
// what belongs to it; the caller puts the slices together in order, so
// the result is that of one pass.
#pragma once

#include <foundation/Sys.h>

#include <algorithm>
#include <cstddef>
#include <exception>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

// How many slices a pass over `count` elements is worth: one per
// `perSlice` elements, no more than the processors this process may run on
// (a shell started under `taskset`, or in a container given two of a
// machine's cores, gains nothing from more threads than it has processors,
// and loses by them), and at most four.
inline std::size_t ImodelSlicesFor(std::size_t count, std::size_t perSlice)
{
    const std::size_t cores = SysUsableProcessors();
    const std::size_t wanted = perSlice == 0 ? 1 : count / perSlice;
    return std::max<std::size_t>(1, std::min({wanted, cores, std::size_t{4}}));
}

// Calls `work(slice, first, last)` for `slices` consecutive ranges
// [first, last) covering [0, count), and returns once every call has
// returned. The first slice runs on the calling thread, the others on
// helper threads started for the call; a helper that cannot start leaves
// its slice to the calling thread. An exception in a slice reaches the
// caller once every slice has ended.
template <class Work>
void ImodelSplitWork(std::size_t count, std::size_t slices, const Work& work)
{
    slices = std::max<std::size_t>(1, std::min(slices, count));
    if (slices <= 1) {
        work(std::size_t{0}, std::size_t{0}, count);
        return;
    }
    const auto first = [count, slices](std::size_t slice) {
        return count / slices * slice + std::min(slice, count % slices);
    };
    std::vector<std::exception_ptr> failures(slices);
    const auto run = [&](std::size_t slice) {
        try {
            work(slice, first(slice), first(slice + 1));
        } catch (...) {
            failures[slice] = std::current_exception();
        }
    };
    std::vector<std::thread> helpers;
    std::vector<std::size_t> left;
    helpers.reserve(slices - 1);
    for (std::size_t slice = 1; slice < slices; ++slice) {
        try {
            helpers.emplace_back(run, slice);
        } catch (const std::system_error&) {
            left.push_back(slice);
        }
    }
    run(0);
    for (const std::size_t slice : left) run(slice);
    for (std::thread& helper : helpers) helper.join();
    for (const std::exception_ptr& failure : failures)
        if (failure) std::rethrow_exception(failure);
}
