#pragma once

class Database;

namespace benchmark {
class State;
}

// The large demo database named by CORVALIN_BENCH_DB (made by corvalin_demo), opened once per
// program and shared by its benchmarks. Without one, the benchmark is skipped with a message
// saying so, and nothing is returned.
Database* benchDatabase(benchmark::State& state);
