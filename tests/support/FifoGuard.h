#pragma once
// Test support for readers handed a FIFO in place of a file. A reader that blocks in
// open() would hang the test run; the guard releases it by opening the FIFO's writing end
// after a timeout, so such a reader fails the test instead.
#include <chrono>
#include <fcntl.h>
#include <future>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

// Makes a FIFO at path; true on success.
inline bool MakeFifo(const std::string& path) { return ::mkfifo(path.c_str(), 0600) == 0; }

// Runs read(); true when it returned on its own within the timeout.
template <class F>
bool ReturnsWithoutBlocking(const std::string& fifo, F read) {
  auto done = std::async(std::launch::async, read);
  if (done.wait_for(std::chrono::seconds(5)) == std::future_status::ready) {
    done.get();
    return true;
  }
  // The reader waits in open() for a writer: become one and leave at once (end of file).
  for (int attempt = 0; attempt < 500; ++attempt) {
    const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0) {
      ::close(fd);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  try {
    done.get();
  } catch (...) {
  }
  return false;
}
