// links: kx2_protocol
// Appends 1 MiB to a TInputBuffer one byte at a time, the way received bytes arrive, and prints
// how often the storage was reallocated and the time per byte (median of several runs).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "protocol/TInputBuffer.h"

int main() {
  constexpr uint32_t kBytes = 1024 * 1024;
  constexpr int kRuns = 9;
  std::vector<double> nsPerByte;
  int reallocations = 0;
  uint32_t finalCapacity = 0;
  for (int run = 0; run < kRuns; ++run) {
    TInputBuffer buffer;
    int grown = 0;
    uint32_t capacity = buffer.Capacity();
    const auto start = std::chrono::steady_clock::now();
    for (uint32_t i = 0; i < kBytes; ++i) {
      buffer.Add(static_cast<uint8_t>(i));
      if (buffer.Capacity() != capacity) {
        capacity = buffer.Capacity();
        ++grown;
      }
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    nsPerByte.push_back(std::chrono::duration<double, std::nano>(elapsed).count() / kBytes);
    if (buffer.Length() != kBytes) {
      std::fprintf(stderr, "length %u, expected %u\n", buffer.Length(), kBytes);
      return 1;
    }
    reallocations = grown;
    finalCapacity = capacity;
  }
  std::sort(nsPerByte.begin(), nsPerByte.end());
  std::printf("bytes appended:      %u (one Add each)\n", kBytes);
  std::printf("reallocations:       %d\n", reallocations);
  std::printf("final capacity:      %u bytes (%.1f%% over the content)\n", finalCapacity,
              100.0 * (finalCapacity - kBytes) / kBytes);
  std::printf("time per byte:       %.2f ns (median of %d runs; min %.2f, max %.2f)\n",
              nsPerByte[kRuns / 2], kRuns, nsPerByte.front(), nsPerByte.back());
  return 0;
}
