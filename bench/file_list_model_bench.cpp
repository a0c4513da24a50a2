// SPDX-License-Identifier: MIT
// The list as the window holds it: adding a batch of 100,000 new paths to a shown view.
#include <benchmark/benchmark.h>

#include <QTableView>

#include "bench/bench_paths.h"
#include "filelist/pending_batch.h"
#include "ui/file_list_model.h"

namespace rizo {
namespace {

constexpr int kRows = 100000;

// Into an empty list, as Add Folder does.
void BM_ModelAddPaths(benchmark::State& state) {
    const std::vector<std::string> paths = BenchPaths(kRows);
    for (auto _ : state) {
        FileListModel model;
        QTableView view;
        view.setModel(&model);
        view.setSelectionModel(model.SelectionModel());
        std::vector<std::string> pendingPaths = paths;
        std::vector<int32_t> pendingRows;
        CommitPending(model, pendingPaths, pendingRows, false);
        benchmark::DoNotOptimize(pendingRows.data());
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_ModelAddPaths)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace rizo
