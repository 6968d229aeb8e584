#pragma once
// CPU time of this process (all its threads, user and system), for the benchmarks' figures.

#include <sys/resource.h>

inline double CpuSeconds() {
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  return ru.ru_utime.tv_sec + ru.ru_stime.tv_sec +
         (ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
}
