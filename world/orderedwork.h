#pragma once

// Work spread over a few threads, its results taken in order on the calling
// thread: each piece of work keeps to what is its own, and what the caller
// does with the results happens exactly as in a plain loop over them.

#include <cstddef>
#include <functional>

// The threads such work runs on: VELMORA_READ_THREADS when it holds a number
// of at least 1 (1: everything on the calling thread, for tests and timings),
// else as many as the machine has cores (at least 1).
unsigned WorkerThreadCount();

// Runs `work(i)` for each i in 0..count-1 on up to `threads` threads of its
// own, and `take(i)` on the calling thread for each i in ascending order, as
// soon as work(i) is done. With one thread both run on the calling thread,
// one piece after the other. A piece that throws stops the pieces not yet
// started; its exception is thrown again here once the threads have ended,
// in the place of its take.
void RunInOrder(size_t count, unsigned threads, const std::function<void(size_t)>& work,
                const std::function<void(size_t)>& take);
