// SPDX-License-Identifier: MIT
// The file list view with 100,000 rows: header-click sorting, duplicate marking, selecting all.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>

#include <random>

#include "filelist/duplicate_groups.h"
#include "filelist/row_commands.h"
#include "ui/sort_list_view.h"

namespace rizo {
namespace {

constexpr int kRows = 100000;
const std::array<int32_t, kColumnCount> kWidths = {150, 230, 270, 80, 460, 90, 120, 120, 300, 160};

// A shown list of files with random names, sizes and digests, every digest twice.
struct FilledList {
    SortListView view{kWidths, false};
    FilledList() {
        std::mt19937 random(42);
        FileListModel& model = view.Model();
        model.SetRedraw(false);
        for (int i = 0; i < kRows; ++i) {
            int row = model.InsertRow("IMG_" + std::to_string(random() % 1000000) + ".jpg");
            model.SetCellText(row, kColMd5, std::to_string(1000000007ULL * (i / 2 + 1)));
            model.SetCellText(row, kColSize, std::to_string(random() % 100000000));
        }
        model.SetRedraw(true);
        view.resize(900, 600);
        view.show();
        QApplication::processEvents();
    }
    void ClickHeader(int column) {
        emit view.horizontalHeader()->sectionClicked(column);
        QApplication::processEvents();
    }
};

void BM_HeaderClickSort(benchmark::State& state) {
    FilledList list;
    if (state.range(0) != 0) {
        list.view.selectAll();
    }
    int click = 0;
    for (auto _ : state) {
        // Another column each time: every click sorts a shuffled order.
        list.ClickHeader(click++ % 2 == 0 ? kColSize : kColFilename);
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_HeaderClickSort)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("allSelected")
    ->Unit(benchmark::kMillisecond);

void BM_MarkDuplicatesShown(benchmark::State& state) {
    FilledList list;
    for (auto _ : state) {
        list.view.Model().MarkDuplicates(DuplicateKeyColumn(HashSelection{}));
        QApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_MarkDuplicatesShown)->Unit(benchmark::kMillisecond);

// Select All and Select None as the row store does them, one row at a time.
void BM_SelectAllRowByRow(benchmark::State& state) {
    FilledList list;
    FileListModel& model = list.view.Model();
    for (auto _ : state) {
        for (int row = 0; row < kRows; ++row) {
            model.SetSelected(row, true);
        }
        QApplication::processEvents();
        for (int row = 0; row < kRows; ++row) {
            model.SetSelected(row, false);
        }
        QApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations() * kRows * 2);
}
BENCHMARK(BM_SelectAllRowByRow)->Unit(benchmark::kMillisecond);

// Rows appended one at a time without suspending repainting.
void BM_InsertRowsAnnouncedOneByOne(benchmark::State& state) {
    for (auto _ : state) {
        SortListView view(kWidths, false);
        view.show();
        for (int i = 0; i < kRows; ++i) {
            view.Model().InsertRow("f");
        }
        QApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_InsertRowsAnnouncedOneByOne)->Unit(benchmark::kMillisecond)->Iterations(1);

// Remove Selected Items with every other row selected: rows are deleted one at a time.
void BM_RemoveEveryOtherRow(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        SortListView view(kWidths, false);
        FileListModel& model = view.Model();
        for (int i = 0; i < rows; ++i) {
            model.SetCellText(model.InsertRow("f"), kColFullPath, "/d/f" + std::to_string(i));
            model.SetSelected(i, i % 2 == 0);
        }
        view.show();
        QApplication::processEvents();
        state.ResumeTiming();
        RemoveSelected(model);
        QApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RemoveEveryOtherRow)->Arg(kRows)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace rizo
