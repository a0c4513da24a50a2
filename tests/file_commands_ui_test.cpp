// SPDX-License-Identifier: MIT
// The platform pieces of the file commands: dialogs and clipboard; drops are the window's tests.
#include <QAbstractButton>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeData>
#include <QTimer>
#include <filesystem>

#include <gtest/gtest.h>

#include "tests/modal_answer.h"
#include "tests/temp_folder.h"
#include "ui/clipboard_text.h"
#include "ui/file_dialogs.h"

namespace rizo {
namespace {

namespace fs = std::filesystem;

class FileDialogsTest : public testing::Test {
protected:
    void SetUp() override {
        temp.File("README", "x");
        temp.File("old.txt", "old");
    }
    // Where the next dialog opened, before the answer moves it.
    void NoteStartFolder(QFileDialog* dialog) { started = dialog->directory().absolutePath(); }

    test::TempFolder temp;
    const fs::path folder = temp.Path().substr(0, temp.Path().size() - 1);
    std::string last;
    QString started;
};

TEST_F(FileDialogsTest, AddFilesShowsTheAllFilesFilterAndTakesNamesWithoutADot) {
    QString filterText;
    AnswerNextModal<QFileDialog>([&](QFileDialog* dialog) {
        NoteStartFolder(dialog);
        filterText = dialog->findChild<QComboBox*>("fileTypeCombo")->currentText();
        dialog->setDirectory(QString::fromStdString(folder.string()));
        dialog->selectFile("\"README\" \"old.txt\"");
        static_cast<QDialog*>(dialog)->accept();
    });
    std::vector<std::string> files = AskFilesToAdd(nullptr, last);
    EXPECT_EQ(started, QDir::homePath()) << "at first";
    EXPECT_EQ(last, folder.string());
    EXPECT_EQ(filterText, "All Files(*.*)");
    EXPECT_EQ(files, (std::vector<std::string>{(folder / "README").string(),
                                               (folder / "old.txt").string()}));
}

// A last folder that is gone opens the home folder; a cancelled dialog keeps the last folder.
TEST_F(FileDialogsTest, CancelledDialogsGiveNothing) {
    last = (folder / "gone").string();
    AnswerNextModal<QFileDialog>([&](QFileDialog* dialog) {
        NoteStartFolder(dialog);
        dialog->reject();
    });
    EXPECT_TRUE(AskFilesToAdd(nullptr, last).empty());
    EXPECT_EQ(started, QDir::homePath());
    last = folder.string();
    AnswerNextModal<QFileDialog>([&](QFileDialog* dialog) {
        NoteStartFolder(dialog);
        dialog->reject();
    });
    EXPECT_FALSE(AskFolderToAdd(nullptr, last).has_value());
    EXPECT_EQ(started.toStdString(), folder.string());
    EXPECT_EQ(last, folder.string());
}

TEST_F(FileDialogsTest, SaveAddsNoExtensionAndAsksBeforeReplacing) {
    QStringList filters;
    last = (folder / "sub").string();
    fs::create_directory(last);
    AnswerNextModal<QFileDialog>([&](QFileDialog* dialog) {
        NoteStartFolder(dialog);
        filters = dialog->nameFilters();
        dialog->setDirectory(QString::fromStdString(folder.string()));
        dialog->selectFile("report");
        dialog->selectNameFilter("SFV file (*.sfv)");
        static_cast<QDialog*>(dialog)->accept();
    });
    const std::optional<SaveChoice> choice = AskSavePath(nullptr, last);
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(started.toStdString(), folder.string() + "/sub");
    EXPECT_EQ(last, folder.string());
    EXPECT_EQ(choice->path, (folder / "report").string());
    EXPECT_EQ(choice->format, SaveFormat::kSfv);
    EXPECT_EQ(filters, (QStringList{"Text Files(*.txt)", "MD5 checksum file (*.md5)",
                                    "SHA1 checksum file (*.sha1)",
                                    "SHA256 checksum file (*.sha256)", "SFV file (*.sfv)"}));

    bool asked = false;
    AnswerNextModal<QFileDialog>([&](QFileDialog* dialog) {
        dialog->setDirectory(QString::fromStdString(folder.string()));
        dialog->selectFile("old.txt");
        AnswerNextModal<QMessageBox>([&](QMessageBox* box) {
            asked = true;
            box->button(QMessageBox::Yes)->click();
        });
        static_cast<QDialog*>(dialog)->accept();
    });
    EXPECT_EQ(AskSavePath(nullptr, last)->path, (folder / "old.txt").string());
    EXPECT_TRUE(asked);
}

// A name whose folder does not exist (or is a file) keeps the dialog open with a message.
TEST_F(FileDialogsTest, SaveKeepsTheDialogOpenWhenTheFolderDoesNotExist) {
    for (const char* name : {"missing/report.txt", "old.txt/report.txt"}) {
        QString message;
        bool stayedOpen = false;
        AnswerNextModal<QFileDialog>([&](QFileDialog* dialog) {
            dialog->setDirectory(QString::fromStdString(folder.string()));
            dialog->selectFile(name);
            AnswerNextModal<QMessageBox>([&, dialog](QMessageBox* box) {
                message = box->text();
                box->accept();
                QTimer::singleShot(0, [&, dialog] {
                    stayedOpen = dialog->isVisible();
                    dialog->reject();
                });
            });
            static_cast<QDialog*>(dialog)->accept();
        });
        EXPECT_FALSE(AskSavePath(nullptr, last).has_value()) << name;
        EXPECT_TRUE(stayedOpen) << name;
        EXPECT_TRUE(message.contains("Directory not found")) << message.toStdString();
    }
}

// Text that is not UTF-8 keeps its bytes under text/plain beside a UTF-8 form for Unicode readers.
TEST(Clipboard, OffersTheTextAsUtf8AndNonUtf8TextAlsoAsItsOwnBytes) {
    const struct {
        std::string text;
        QStringList formats;
    } cases[] = {
        {"caf\xC3\xA9.txt\r\n--\r\n", {"text/plain"}},
        {"\xFF-raw.bin\r\n--\r\n", {"text/plain;charset=utf-8", "text/plain"}},
    };
    for (const auto& [text, formats] : cases) {
        CopyTextToClipboard(text);
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        EXPECT_EQ(data->formats(), formats);
        EXPECT_EQ(data->data("text/plain").toStdString(), text);
        const QString unicode = data->text();
        EXPECT_EQ(unicode, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
        EXPECT_TRUE(unicode.toUtf8().isValidUtf8());
    }
}

}  // namespace
}  // namespace rizo
