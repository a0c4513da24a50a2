// SPDX-License-Identifier: MIT
// The file and folder dialogs of Add Files, Add Folder and Save, giving names as bytes.
#include "ui/file_dialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <algorithm>

namespace rizo {
namespace {

std::string Bytes(const QString& name) {
    return QFile::encodeName(name).toStdString();
}

QString StartFolder(const std::string& lastFolder) {
    const QString last = QFile::decodeName(QByteArray::fromStdString(lastFolder));
    return !lastFolder.empty() && QFileInfo(last).isDir() ? last : QDir::homePath();
}

// A save dialog that stays open, with the toolkit's own message, when the folder of the confirmed
// name does not exist, instead of closing on a name that cannot be written.
class SaveDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    void accept() override {
        const QStringList names = selectedFiles();
        if (!names.isEmpty()) {
            const QString folder = QFileInfo(names.first()).absolutePath();
            if (!QFileInfo(folder).isDir()) {
                QMessageBox::warning(
                    this, windowTitle(),
                    QCoreApplication::translate("QFileDialog",
                                                "%1\nDirectory not found.\nPlease verify the "
                                                "correct directory name was given.")
                        .arg(folder));
                return;
            }
        }
        QFileDialog::accept();
    }
};

}  // namespace

std::vector<std::string> AskFilesToAdd(QWidget* parent, std::string& lastFolder) {
    QFileDialog dialog(parent, QString(), StartFolder(lastFolder));
    dialog.setFileMode(QFileDialog::ExistingFiles);
    // "*.*" would hide every name without a dot here; the filter reads "All Files(*.*)" but
    // matches every file, as it does where that pattern comes from.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilter(QStringLiteral("All Files(*.*) (*)"));
    std::vector<std::string> files;
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        lastFolder = Bytes(QFileInfo(dialog.selectedFiles().first()).absolutePath());
        for (const QString& name : dialog.selectedFiles()) {
            files.push_back(Bytes(name));
        }
    }
    return files;
}

std::optional<std::string> AskFolderToAdd(QWidget* parent, std::string& lastFolder) {
    const QString folder = QFileDialog::getExistingDirectory(
        parent, QStringLiteral("Select a folder"), StartFolder(lastFolder));
    if (folder.isEmpty()) {
        return std::nullopt;
    }
    lastFolder = Bytes(folder);
    return lastFolder;
}

std::optional<std::string> AskChecksumFile(QWidget* parent, std::string& lastFolder) {
    QFileDialog dialog(parent, QString(), StartFolder(lastFolder));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(
        {QStringLiteral("Checksum files (*.md5 *.sha1 *.sha224 *.sha256 *.sha256sum *.sha384 "
                        "*.sha512 *.b2 *.xxh64 *.xxh3 *.xxh128 *.sfv *.txt MD5SUMS SHA1SUMS "
                        "SHA224SUMS SHA256SUMS SHA384SUMS SHA512SUMS B2SUMS b2sums)"),
         QStringLiteral("MD5 checksum file (*.md5)"), QStringLiteral("SHA1 checksum file (*.sha1)"),
         QStringLiteral("SHA256 checksum file (*.sha256)"), QStringLiteral("SFV file (*.sfv)"),
         QStringLiteral("Text Files (*.txt)"), QStringLiteral("All Files (*)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    lastFolder = Bytes(QFileInfo(dialog.selectedFiles().first()).absolutePath());
    return Bytes(dialog.selectedFiles().first());
}

std::optional<SaveChoice> AskSavePath(QWidget* parent, std::string& lastFolder) {
    // In the order of SaveFormat.
    const QStringList filters = {
        QStringLiteral("Text Files(*.txt)"), QStringLiteral("MD5 checksum file (*.md5)"),
        QStringLiteral("SHA1 checksum file (*.sha1)"),
        QStringLiteral("SHA256 checksum file (*.sha256)"), QStringLiteral("SFV file (*.sfv)")};
    SaveDialog dialog(parent, QString(), StartFolder(lastFolder));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const auto chosen = static_cast<SaveFormat>(
        std::max<qsizetype>(filters.indexOf(dialog.selectedNameFilter()), 0));
    const QString path = dialog.selectedFiles().first();
    lastFolder = Bytes(QFileInfo(path).absolutePath());
    return SaveChoice{Bytes(path), SaveFormatOf(Bytes(path), chosen)};
}

}  // namespace rizo
