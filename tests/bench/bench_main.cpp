// The one entry point of the benchmark executable; the cases live in the other files here.
#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
