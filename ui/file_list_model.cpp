// SPDX-License-Identifier: MIT
// The file list as a Qt table model.
#include "ui/file_list_model.h"

#include <QApplication>
#include <QColor>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QStyle>

#include <array>
#include <numeric>
#include <string_view>

#include "filelist/duplicate_groups.h"
#include "ui/dark_palette.h"
#include "ui/readable_text.h"

namespace rizo {

// The view's selection model; before it applies a change of the user's, it takes over a
// selection the model has set through RowStore and not yet shown.
class RowSelectionModel : public QItemSelectionModel {
public:
    explicit RowSelectionModel(FileListModel* model)
        : QItemSelectionModel(model, model), owner(model) {}

    using QItemSelectionModel::select;
    void select(const QItemSelection& items, SelectionFlags command) override {
        if (!owner->pushingSelection) {
            owner->PushSelectionToView();
        }
        QItemSelectionModel::select(items, command);
    }

private:
    FileListModel* owner;
};

namespace {

struct ColumnInfo {
    const char* title;
    Qt::Alignment alignment;
};

const std::array<ColumnInfo, kColumnCount> kColumns = {{
    {"Filename", Qt::AlignLeft},
    {"MD5", Qt::AlignHCenter},
    {"SHA1", Qt::AlignHCenter},
    {"CRC32", Qt::AlignHCenter},
    {"SHA256", Qt::AlignHCenter},
    {"Size", Qt::AlignRight},
    {"Date Created", Qt::AlignHCenter},
    {"Date Modified", Qt::AlignHCenter},
    {"Full Path", Qt::AlignLeft},
    {"Verdict", Qt::AlignLeft},
}};

constexpr uint32_t kHighlightText = 0xFFFFFF;
constexpr uint32_t kHighlightBack = 0x0000F0;

const QList<int> kColourRoles = {Qt::BackgroundRole, Qt::ForegroundRole};
const QList<int> kTextRoles = {Qt::DisplayRole, Qt::ToolTipRole, Qt::DecorationRole};
const QList<int> kNoteRoles = {Qt::ToolTipRole, Qt::DecorationRole, Qt::ForegroundRole,
                               Qt::AccessibleDescriptionRole};

// A round mark in the verdict's colour, so a long list can be scanned for failures at a glance.
QVariant VerdictMark(std::string_view verdict) {
    static const std::array<std::pair<const char*, QColor>, 4> kMarks = {{
        {"OK", QColor(0x2E, 0x9E, 0x44)},
        {"FAILED", QColor(0xD3, 0x2F, 0x2F)},
        {"MISSING", QColor(0xF0, 0x8C, 0x00)},
        {"UNREADABLE", QColor(0x8E, 0x44, 0xAD)},
    }};
    static std::array<QPixmap, 4> pixmaps;
    for (std::size_t i = 0; i < kMarks.size(); ++i) {
        if (!verdict.starts_with(kMarks[i].first)) {
            continue;
        }
        if (pixmaps[i].isNull()) {
            pixmaps[i] = QPixmap(12, 12);
            pixmaps[i].fill(Qt::transparent);
            QPainter painter(&pixmaps[i]);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::NoPen);
            painter.setBrush(kMarks[i].second);
            painter.drawEllipse(1, 1, 10, 10);
        }
        return pixmaps[i];
    }
    return {};
}

QColor Rgb(uint32_t colour) {
    return QColor(QRgb(colour));
}

QString Display(std::string_view text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

// The style's own warning sign: drawn in its own colours, so it reads on light and dark themes,
// and it sits in the row's first cell, so it moves with the row when the list is sorted.
// Asked of the style each time, so a change of theme shows at once.
QIcon FailureMark() {
    return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
}

// Half way to the background whatever it is, so a dimmed row reads as one on any theme.
QColor Dimmed(QColor text) {
    text.setAlpha(110);
    return text;
}

// A coloured row as drawn in the theme of the moment, so rows follow a change of theme while the
// program runs: a dark theme shows the duplicate colours deepened, with text at 7:1 or better.
struct ThemedRow {
    uint32_t back;
    uint32_t text;
};

ThemedRow Themed(uint32_t back) {
    const QPalette theme = QGuiApplication::palette();
    const uint32_t themeText = theme.color(QPalette::Text).rgb() & 0xFFFFFFu;
    if (IsDarkTheme(theme)) {
        const uint32_t deep = OnDarkTheme(back);
        return {deep, ReadableTextColour(deep, themeText, kEnhancedContrast)};
    }
    return {back, ReadableTextColour(back, themeText)};
}

}  // namespace

FileListModel::FileListModel(QObject* parent)
    : QAbstractTableModel(parent), selection(new RowSelectionModel(this)) {
    connect(selection, &QItemSelectionModel::selectionChanged, this,
            &FileListModel::CopySelectionFromView);
}

QItemSelectionModel* FileListModel::SelectionModel() const {
    return selection;
}

int FileListModel::InsertRow(const std::string& name) {
    int row = table.RowCount();
    if (redrawOn) {
        beginInsertRows(QModelIndex(), row, row);
        table.InsertRow(name);
        endInsertRows();
    } else {
        table.InsertRow(name);
        ++unannouncedRows;
    }
    return row;
}

void FileListModel::AnnounceNewRows() {
    if (unannouncedRows == 0) {
        return;
    }
    beginInsertRows(QModelIndex(), AnnouncedRows(), table.RowCount() - 1);
    unannouncedRows = 0;
    endInsertRows();
}

void FileListModel::AnnounceChangedRows() {
    const int last = std::min(changedLast, AnnouncedRows() - 1);
    if (changedFirst <= last) {
        emit dataChanged(index(changedFirst, 0), index(last, kColumnCount - 1));
    }
    changedFirst = 0;
    changedLast = -1;
}

void FileListModel::DeleteRows(const std::vector<int>& rows) {
    AnnounceNewRows();
    // Each removal announcement costs the views a pass over their rows; scattered rows are
    // better announced as one reset. The flags stay the selection's truth either way.
    constexpr size_t kMostRuns = 32;
    std::vector<std::pair<int, int>> runs;
    for (int row : rows) {
        if (!runs.empty() && runs.back().second == row - 1) {
            runs.back().second = row;
        } else {
            runs.emplace_back(row, row);
        }
    }
    if (runs.size() > kMostRuns) {
        beginResetModel();
        table.DeleteRows(rows);
        endResetModel();
        // The reset cleared the view's selection; rows still flagged get it back.
        if (table.SelectedCount() > 0) {
            ScheduleSelectionPush();
        }
        return;
    }
    removingRows = true;
    // Bottom-up, so the runs still to be removed keep their indexes.
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
        std::vector<int> runRows(static_cast<size_t>(run->second - run->first + 1));
        std::iota(runRows.begin(), runRows.end(), run->first);
        beginRemoveRows(QModelIndex(), run->first, run->second);
        table.DeleteRows(runRows);
        endRemoveRows();
    }
    removingRows = false;
}

void FileListModel::DeleteAllRows() {
    beginResetModel();
    table.DeleteAllRows();
    unannouncedRows = 0;
    selectionPushPending = false;
    endResetModel();
}

std::string FileListModel::CellText(int row, int column) const {
    return table.CellText(row, column);
}

void FileListModel::SetCellText(int row, int column, std::string text) {
    table.SetCellText(row, column, std::move(text));
    if (!redrawOn) {
        EmitRowsChanged(row, row, kTextRoles);
    } else if (row < AnnouncedRows()) {
        QModelIndex cell = index(row, column);
        emit dataChanged(cell, cell, kTextRoles);
    }
}

void FileListModel::SetRowNote(int row, const std::string& text, RowNote kind) {
    // No note of any kind is no note: each row of a long batch clears its own.
    if (table.Note(row) == text && (text.empty() || table.NoteKind(row) == kind)) {
        return;
    }
    table.SetRowNote(row, text, kind);
    EmitRowsChanged(row, row, kNoteRoles);
}

int FileListModel::FindRowByPath(const std::string& path) const {
    return table.FindRowByPath(path);
}

void FileListModel::SetSelected(int row, bool selected) {
    if (table.IsSelected(row) == selected) {
        return;
    }
    table.SetSelected(row, selected);
    ScheduleSelectionPush();
}

void FileListModel::SetRedraw(bool on) {
    redrawOn = on;
    if (on) {
        AnnounceNewRows();
        AnnounceChangedRows();
    }
}

int FileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : AnnouncedRows();
}

int FileListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    const int row = index.row();
    const int column = index.column();
    const RowColour& colour = table.Colour(row);
    switch (role) {
        case Qt::DisplayRole:
            return Display(table.Cell(row, column));
        case Qt::ToolTipRole:
            // The row's note, such as why a failed row has no digests; otherwise, and always for
            // the verdict, the whole text of a cell that the column may be too narrow for.
            if (!table.Note(row).empty() && column != kColVerdict) {
                return Display(table.Note(row));
            }
            return table.Cell(row, column).empty() ? QVariant() : Display(table.Cell(row, column));
        case Qt::AccessibleDescriptionRole:
            // Screen readers hear the note that the tooltip shows.
            return table.Note(row).empty() ? QVariant() : Display(table.Note(row));
        case Qt::DecorationRole:
            if (Absent(row)) {
                return {};
            }
            if (column == kColVerdict) {
                return VerdictMark(table.Cell(row, column));
            }
            return column == kColFilename && table.IsFailed(row) ? FailureMark() : QVariant();
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(kColumns[column].alignment | Qt::AlignVCenter);
        case Qt::BackgroundRole:
            if (row == highlightRow) {
                return Rgb(kHighlightBack);
            }
            return colour.isSet ? Rgb(Themed(colour.backColour).back) : QVariant();
        case Qt::ForegroundRole:
            if (row == highlightRow) {
                return Rgb(kHighlightText);
            }
            if (Absent(row)) {
                return Dimmed(colour.isSet ? Rgb(Themed(colour.backColour).text)
                                           : QGuiApplication::palette().color(QPalette::Text));
            }
            return colour.isSet ? Rgb(Themed(colour.backColour).text) : QVariant();
        default:
            return {};
    }
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromLatin1(kColumns[section].title);
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(kColumns[section].alignment | Qt::AlignVCenter);
        default:
            return {};
    }
}

Qt::ItemFlags FileListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
}

// While repainting is suspended the rows join the span announced when it is resumed.
void FileListModel::EmitRowsChanged(int first, int last, const QList<int>& roles) {
    if (!redrawOn) {
        const bool none = changedFirst > changedLast;
        changedFirst = none ? first : std::min(changedFirst, first);
        changedLast = none ? last : std::max(changedLast, last);
        return;
    }
    last = std::min(last, AnnouncedRows() - 1);
    if (first <= last) {
        emit dataChanged(index(first, 0), index(last, kColumnCount - 1), roles);
    }
}

void FileListModel::SetRowBackColour(int row, uint32_t colour) {
    table.SetRowBackColour(row, colour);
    EmitRowsChanged(row, row, kColourRoles);
}

void FileListModel::MarkDuplicates(int keyColumn) {
    std::vector<std::string_view> keys;
    keys.reserve(static_cast<size_t>(table.RowCount()));
    for (int row = 0; row < table.RowCount(); ++row) {
        keys.emplace_back(table.Cell(row, keyColumn));
    }
    const std::vector<int> groups = DuplicateGroups(keys);
    for (int row = 0; row < table.RowCount(); ++row) {
        int group = groups[static_cast<size_t>(row)];
        if (group >= 1 && group <= kDuplicatePaletteSize) {
            table.SetRowBackColour(row, DuplicateColour(group));
        }
    }
    EmitRowsChanged(0, table.RowCount() - 1, kColourRoles);
}

void FileListModel::SetHighlightRow(int row) {
    const int old = highlightRow;
    highlightRow = row;
    if (old >= 0) {
        EmitRowsChanged(old, old, kColourRoles);
    }
    if (row >= 0) {
        EmitRowsChanged(row, row, kColourRoles);
    }
}

void FileListModel::SortByColumn(int column, bool ascending) {
    AnnounceNewRows();
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const std::vector<int> order = table.SortByColumn(column, ascending);
    std::vector<int> newRowOf(order.size());
    for (size_t row = 0; row < order.size(); ++row) {
        newRowOf[static_cast<size_t>(order[row])] = static_cast<int>(row);
    }
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& old : before) {
        after.append(index(newRowOf[static_cast<size_t>(old.row())], old.column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void FileListModel::CopySelectionFromView(const QItemSelection& selected,
                                          const QItemSelection& deselected) {
    if (pushingSelection) {
        return;
    }
    const int rows = AnnouncedRows();
    for (const QItemSelectionRange& range : deselected) {
        for (int row = range.top(); row <= range.bottom() && row < rows; ++row) {
            table.SetSelected(row, false);
        }
    }
    for (const QItemSelectionRange& range : selected) {
        for (int row = range.top(); row <= range.bottom() && row < rows; ++row) {
            table.SetSelected(row, true);
        }
    }
    if (!removingRows && (!selected.isEmpty() || !deselected.isEmpty())) {
        emit SelectionEdited();
    }
}

void FileListModel::ScheduleSelectionPush() {
    if (selectionPushPending) {
        return;
    }
    selectionPushPending = true;
    QMetaObject::invokeMethod(this, &FileListModel::PushSelectionToView, Qt::QueuedConnection);
}

void FileListModel::PushSelectionToView() {
    if (!selectionPushPending) {
        return;
    }
    selectionPushPending = false;
    AnnounceNewRows();
    QItemSelection runs;
    const int rows = table.RowCount();
    for (int row = 0; row < rows; ++row) {
        if (!table.IsSelected(row)) {
            continue;
        }
        int last = row;
        while (last + 1 < rows && table.IsSelected(last + 1)) {
            ++last;
        }
        runs.append(QItemSelectionRange(index(row, 0), index(last, kColumnCount - 1)));
        row = last;
    }
    pushingSelection = true;
    // Clearing first keeps the selection model from comparing two long range lists.
    selection->select(QItemSelection(), QItemSelectionModel::Clear);
    selection->select(runs, QItemSelectionModel::Select);
    pushingSelection = false;
}

}  // namespace rizo
