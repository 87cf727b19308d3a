// FIFOs in a data file's place: a reader that opens one waits until a writer comes, so a test
// runs the reading on a thread of its own and, if it has not finished after a few seconds,
// fails and opens the FIFO for writing itself to release it.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <future>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

inline void MakeFifo(const std::string& path) {
    ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0) << path;
}

// Runs read, which may touch the FIFO at fifo; true when it finished without waiting on it.
inline bool FinishesWithoutWaitingOn(const std::string& fifo, const std::function<void()>& read) {
    std::future<void> done = std::async(std::launch::async, read);
    if (done.wait_for(std::chrono::seconds(5)) == std::future_status::ready) {
        done.get();
        return true;
    }
    const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
    if (writer >= 0) {
        ::close(writer);
    }
    done.wait();
    return false;
}
