// The file and folder dialogs of Add Files, Add Folder and Save, giving names as bytes.
#include "ui/file_dialogs.h"

#include <QFile>
#include <QFileDialog>

namespace rizo {
namespace {

std::string Bytes(const QString& name) {
    return QFile::encodeName(name).toStdString();
}

}  // namespace

std::vector<std::string> AskFilesToAdd(QWidget* parent) {
    QFileDialog dialog(parent);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    // "*.*" would hide every name without a dot here; the filter reads "All Files(*.*)" but
    // matches every file, as it does where that pattern comes from.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilter(QStringLiteral("All Files(*.*) (*)"));
    std::vector<std::string> files;
    if (dialog.exec() == QDialog::Accepted) {
        for (const QString& name : dialog.selectedFiles()) {
            files.push_back(Bytes(name));
        }
    }
    return files;
}

std::optional<std::string> AskFolderToAdd(QWidget* parent) {
    const QString folder =
        QFileDialog::getExistingDirectory(parent, QStringLiteral("Select a folder"));
    if (folder.isEmpty()) {
        return std::nullopt;
    }
    return Bytes(folder);
}

std::optional<std::string> AskSavePath(QWidget* parent) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("Text Files(*.txt)"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return Bytes(dialog.selectedFiles().first());
}

}  // namespace rizo
