// The list as the window holds it: adding 100,000 paths and the end-of-batch duplicate marking.
#include <benchmark/benchmark.h>

#include <QTableView>

#include "filelist/pending_batch.h"
#include "ui/file_list_model.h"

namespace rizo {
namespace {

constexpr int kRows = 100000;

std::vector<std::string> Paths() {
    std::vector<std::string> paths;
    paths.reserve(kRows);
    for (int i = 0; i < kRows; ++i) {
        paths.push_back("/home/user/photos/" + std::to_string(i % 97) + "/IMG_" +
                        std::to_string(i) + ".jpg");
    }
    return paths;
}

// A batch of new paths into an empty list shown in a view, as Add Folder does.
void BM_ModelAddPaths(benchmark::State& state) {
    const std::vector<std::string> paths = Paths();
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

// Marking over a full list where every digest occurs twice (50,000 groups, 90 coloured).
void BM_ModelMarkDuplicates(benchmark::State& state) {
    FileListModel model;
    const std::vector<std::string> paths = Paths();
    for (int i = 0; i < kRows; ++i) {
        const int row = model.InsertRow(paths[i]);
        model.SetCellText(row, kColMd5, std::to_string(1000000007LL * (i / 2)));
    }
    for (auto _ : state) {
        model.MarkDuplicates(kColMd5);
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_ModelMarkDuplicates)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace rizo
