// SPDX-License-Identifier: MIT
// Adding large batches to the file list: row lookup and creation per path.
#include <benchmark/benchmark.h>

#include "bench/bench_paths.h"
#include "filelist/file_table.h"
#include "filelist/pending_batch.h"
#include "filelist/row_commands.h"

namespace rizo {
namespace {

// Rows as after a finished batch: every Full Path cell written.
void WriteFullPaths(FileTable& table, const std::vector<std::string>& paths,
                    const std::vector<int32_t>& rows) {
    for (size_t i = 0; i < paths.size(); ++i) {
        table.SetCellText(rows[i], kColFullPath, paths[i]);
    }
}

// A batch of new paths into an empty list.
void BM_AddToEmptyList(benchmark::State& state) {
    const std::vector<std::string> paths = BenchPaths(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        FileTable table;
        std::vector<std::string> pendingPaths = paths;
        std::vector<int32_t> pendingRows;
        CommitPending(table, pendingPaths, pendingRows, state.range(1) != 0);
        benchmark::DoNotOptimize(pendingRows.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_AddToEmptyList)->Args({100000, 0})->Args({100000, 1})->Unit(benchmark::kMillisecond);

// The same batch again into a list that already shows every path: each one is found.
void BM_AddAlreadyListed(benchmark::State& state) {
    const std::vector<std::string> paths = BenchPaths(static_cast<int>(state.range(0)));
    FileTable table;
    std::vector<std::string> pendingPaths = paths;
    std::vector<int32_t> pendingRows;
    CommitPending(table, pendingPaths, pendingRows, false);
    WriteFullPaths(table, paths, pendingRows);
    for (auto _ : state) {
        pendingPaths = paths;
        pendingRows.clear();
        CommitPending(table, pendingPaths, pendingRows, false);
        benchmark::DoNotOptimize(pendingRows.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_AddAlreadyListed)->Arg(100000)->Unit(benchmark::kMillisecond);

// Remove Selected Items with every other row of the list selected.
void BM_RemoveEveryOtherRow(benchmark::State& state) {
    const std::vector<std::string> paths = BenchPaths(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        FileTable table;
        std::vector<std::string> pendingPaths = paths;
        std::vector<int32_t> pendingRows;
        CommitPending(table, pendingPaths, pendingRows, false);
        for (int row = 1; row < table.RowCount(); row += 2) {
            table.SetSelected(row, true);
        }
        state.ResumeTiming();
        RemoveSelected(table);
        benchmark::DoNotOptimize(table.RowCount());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RemoveEveryOtherRow)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace rizo
