// SPDX-License-Identifier: MIT
// The real main window's file commands end to end: adding, dropping, refreshing, removing, copying
// and saving, with the worker hashing real files.
#include <sys/stat.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include <gtest/gtest.h>

#include "base/value_format.h"
#include "filelist/duplicate_groups.h"
#include "tests/loop_device.h"
#include "tests/main_frame_fixture.h"
#include "tests/modal_answer.h"
#include "ui/command_ids.h"
#include "ui/main_frame.h"
#include "ui/sort_list_view.h"
#include "ui/status_panes.h"
#include "ui/window_arguments.h"

namespace rizo {
namespace {

constexpr char kMd5Abc[] = "900150983cd24fb0d6963f7d28e17f72";
constexpr char kMd5Empty[] = "d41d8cd98f00b204e9800998ecf8427e";
const std::string kRule = std::string(50, '-') + "\r\n";

// Each test has its own per-user folder whose "cfg.ini" sorts new batches and leaves the
// creation date out of copies (file systems differ in recording it).
class MainFrameFilesTest : public test::MainFrameFixture {
protected:
    MainFrameFilesTest() {
        mkdir((temp.Path() + "Dodevovaze Rizodidiz").c_str(), 0700);
        test::WriteText(temp.Path() + "Dodevovaze Rizodidiz/cfg.ini",
                        "[OptionCopy]\nIncDateCreated=0\n[OptionGeneral]\nAutoSortFileName=1\n");
        data = temp.Path() + "data/";
        mkdir(data.c_str(), 0700);
        mkdir((data + "sub").c_str(), 0700);
        test::WriteText(data + "abc.txt", "abc");
        test::WriteText(data + "copy.txt", "abc");
        test::WriteText(data + ".hidden", "");
        test::WriteText(data + "sub/z.txt", "");
        test::WriteText(data + "\xff-raw.bin", "zz");
        frame = std::make_unique<MainFrame>();
    }

    FileListModel& Rows() { return frame->List().Model(); }
    std::string Cell(int row, int column) { return Rows().CellText(row, column); }

    // Drops `paths` on the window, named in a URI list with every byte outside ASCII escaped.
    void Drop(const std::vector<std::string>& paths) {
        QByteArray list;
        for (const std::string& path : paths) {
            list += "file://" + QByteArray::fromStdString(path).toPercentEncoding("/") + "\r\n";
        }
        QMimeData mime;
        mime.setData("text/uri-list", list);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        // Straight to the window's handler: outside a real drag the application does not route
        // drop events.
        static_cast<QObject*>(frame.get())->event(&drop);
    }

    // The text of the newest message box the window shows, all of them closed; "" for none.
    QString TakeMessage() {
        QCoreApplication::processEvents();
        const QList<QMessageBox*> boxes = frame->findChildren<QMessageBox*>();
        const QString text = boxes.isEmpty() ? QString() : boxes.last()->text();
        qDeleteAll(boxes);
        return text;
    }

    std::string VerdictOf(const std::string& path) {
        const int row = Rows().FindRowByPath(path);
        return row < 0 ? "no row" : Cell(row, kColVerdict);
    }

    std::string data;
    std::unique_ptr<MainFrame> frame;
};

TEST_F(MainFrameFilesTest, AddFolderHashesEveryFileInPathOrder) {
    AnswerNextModal<QFileDialog>([this](QFileDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Select a folder");
        dialog->setDirectory(QString::fromStdString(data));
        static_cast<QDialog*>(dialog)->accept();
    });
    frame->Execute(kCmdAddFolder);
    ASSERT_TRUE(WaitUntilIdle(*frame));

    // Sorted by the full paths' bytes: "." < "a" < "c" < "s" < 0xFF.
    const std::vector<std::vector<std::string>> expected = {
        {".hidden", kMd5Empty, "0", data + ".hidden"},
        {"abc.txt", kMd5Abc, "3", data + "abc.txt"},
        {"copy.txt", kMd5Abc, "3", data + "copy.txt"},
        {"z.txt", kMd5Empty, "0", data + "sub/z.txt"},
        {"\xff-raw.bin", "", "2", data + "\xff-raw.bin"},
    };
    ASSERT_EQ(Rows().RowCount(), 5);
    for (int row = 0; row < 5; ++row) {
        EXPECT_EQ(Cell(row, kColFilename), expected[row][0]);
        if (!expected[row][1].empty()) {
            EXPECT_EQ(Cell(row, kColMd5), expected[row][1]) << row;
        }
        EXPECT_EQ(Cell(row, kColSize), expected[row][2]) << row;
        EXPECT_EQ(Cell(row, kColFullPath), expected[row][3]) << row;
    }
    EXPECT_EQ(Cell(4, kColMd5).size(), 32u);
    EXPECT_EQ(frame->Panes().PaneText(StatusPanes::kPaneCount), "5 files");
    EXPECT_EQ(frame->Panes().PaneText(StatusPanes::kPaneProgress), "");
    EXPECT_EQ(frame->List().HighlightRow(), -1);
}

// The scan runs on a thread of its own; Stop before its end is handled cancels it.
TEST_F(MainFrameFilesTest, AStoppedFolderScanAddsNothing) {
    Drop({data});
    EXPECT_TRUE(frame->Busy());
    frame->Execute(kCmdStop);
    ASSERT_TRUE(WaitUntilIdle(*frame));
    EXPECT_EQ(Rows().RowCount(), 0);
    EXPECT_EQ(frame->windowTitle(), "Rizodidiz");
}

TEST_F(MainFrameFilesTest, EmptyFolderAddsNoRowButStillEndsABatch) {
    Drop({data + "abc.txt", data + "copy.txt"});
    ASSERT_TRUE(WaitUntilIdle(*frame));
    Rows().SetRowBackColour(0, 0x123456);
    Rows().SetRowBackColour(1, 0x123456);
    mkdir((data + "empty").c_str(), 0700);
    Drop({data + "empty"});
    ASSERT_TRUE(WaitUntilIdle(*frame));
    // The end of the empty batch marked the duplicates again.
    EXPECT_EQ(Rows().RowCount(), 2);
    EXPECT_EQ(Rows().Colour(0).backColour, DuplicateColour(1));
    EXPECT_EQ(Rows().Colour(1).backColour, DuplicateColour(1));
}

// The program's entry hands the parsed names to the drop handler, as this test does.
TEST_F(MainFrameFilesTest, CommandLineNamesAreAddedAsADropOfThemAndHashedAtOnce) {
    const std::filesystem::path here = std::filesystem::current_path();
    const WindowArguments arguments =
        ParseWindowArguments({std::filesystem::relative(data + "sub", here).native(), "-style",
                              "Fusion", "--", "-plain", data + "./abc.txt", "missing"});
    ASSERT_EQ(arguments.error, "");
    EXPECT_EQ(arguments.paths,
              (std::vector<std::string>{data + "sub", here.native() + "/-plain", data + "abc.txt",
                                        here.native() + "/missing"}));
    frame->DropFiles(arguments.paths);
    EXPECT_TRUE(frame->Busy());
    ASSERT_TRUE(WaitUntilIdle(*frame));
    // The batch is sorted, as this fixture's settings ask.
    ASSERT_EQ(Rows().RowCount(), 2);
    EXPECT_EQ(Cell(0, kColFullPath), data + "abc.txt");
    EXPECT_EQ(Cell(0, kColMd5), kMd5Abc);
    EXPECT_EQ(Cell(1, kColFullPath), data + "sub/z.txt");
}

// With --verify (the desktop entry's, for checksum files) the program's entry hands the names to
// VerifyFiles, as this test does: each is read as a checksum file, whatever its name. A list whose
// name does not say MD5 is read for MD5 or XXH128, and the verdict says which matched.
TEST_F(MainFrameFilesTest, CommandLineVerifyChecksTheFilesThatTheNamedChecksumFilesList) {
    ASSERT_EQ(std::system(("cd '" + data + "' && sha256sum abc.txt sub/z.txt > SHA256SUMS" +
                           " && md5sum copy.txt > sums.txt")
                              .c_str()),
              0);
    const WindowArguments arguments =
        ParseWindowArguments({"--verify", data + "SHA256SUMS", "--", data + "sums.txt"});
    ASSERT_EQ(arguments.error, "");
    ASSERT_TRUE(arguments.verify);
    EXPECT_FALSE(ParseWindowArguments({data + "SHA256SUMS"}).verify);
    frame->VerifyFiles(arguments.paths, {});
    ASSERT_TRUE(WaitUntilIdle(*frame));
    const std::pair<std::string, std::string> verdicts[] = {{"abc.txt", "OK"},
                                                            {"sub/z.txt", "OK"},
                                                            {"copy.txt", "OK (MD5)"},
                                                            {"SHA256SUMS", "no row"},
                                                            {"sums.txt", "no row"}};
    for (const auto& [name, verdict] : verdicts) {
        EXPECT_EQ(VerdictOf(data + name), verdict) << name;
    }
    EXPECT_TRUE(frame->Settings().HashSHA256);
    EXPECT_EQ(TakeMessage(), "All 3 files OK");
}

// The digests a list holds that have no column are computed in the same batch; where a line could
// be of two, the verdict names the one that matched.
TEST_F(MainFrameFilesTest, VerifyComputesTheListsDigestsThatHaveNoColumnAndNamesTheOneThatMatched) {
    ASSERT_EQ(std::system(("cd '" + data + "' && { b2sum abc.txt; sha512sum copy.txt; " +
                           "sha384sum --tag sub/z.txt; } > mixed")
                              .c_str()),
              0);
    frame->VerifyFiles({data + "mixed"}, {});
    ASSERT_TRUE(WaitUntilIdle(*frame));
    const std::pair<std::string, std::string> verdicts[] = {
        {"abc.txt", "OK (BLAKE2b)"}, {"copy.txt", "OK (SHA512)"}, {"sub/z.txt", "OK"}};
    for (const auto& [name, verdict] : verdicts) {
        EXPECT_EQ(VerdictOf(data + name), verdict) << name;
    }
    EXPECT_EQ(TakeMessage(), "All 3 files OK");
}

// A disk dropped onto the window is a row of its own, read whole to its driver's size, which the
// row shows; listed in a checksum file it is verified the same way. A loop device stands for the
// disk, and md5sum and sha256sum read the same device.
TEST_F(MainFrameFilesTest, ADiskDroppedOrListedIsReadWholeWithItsSize) {
    const std::string bytes(1048576 + 3 * 512, 'd');
    const test::LoopDevice loop(bytes);
    if (loop.Path().empty()) {
        GTEST_SKIP() << test::kNoLoopDevice;
    }
    const std::string device = loop.Path();
    Drop({device});
    ASSERT_TRUE(WaitUntilIdle(*frame));
    ASSERT_EQ(Rows().RowCount(), 1);
    EXPECT_EQ(Cell(0, kColSize), FormatFileSize(bytes.size()));
    EXPECT_EQ(Cell(0, kColMd5),
              test::CommandOutput("md5sum " + test::Quoted(device)).substr(0, 32));
    const std::string list = data + "SHA256SUMS";
    ASSERT_EQ(
        std::system(("sha256sum " + test::Quoted(device) + " > " + test::Quoted(list)).c_str()), 0);
    frame->VerifyFiles({list}, {});
    ASSERT_TRUE(WaitUntilIdle(*frame));
    EXPECT_EQ(VerdictOf(device), "OK");
    EXPECT_EQ(TakeMessage().toStdString(), device.substr(device.rfind('/') + 1) + ": OK");
}

TEST_F(MainFrameFilesTest, WhileBusyOnlySelectionCommandsActAndStoppedRowsKeepTheirFiles) {
    const std::string huge = HugeFile();
    Drop({huge, data + "abc.txt"});
    ASSERT_TRUE(frame->Busy());
    ASSERT_TRUE(QTest::qWaitFor([this] { return Rows().RowCount() == 2; }, 20000));
    // A drop while busy is ignored; the other refusals are the window's own test.
    Drop({data + "copy.txt"});
    frame->Execute(kCmdSelectAll);
    EXPECT_EQ(Rows().RowCount(), 2);
    EXPECT_EQ(Rows().SelectedCount(), 2);
    EXPECT_EQ(frame->Panes().PaneText(StatusPanes::kPaneCount), "2 files");
    frame->Execute(kCmdSelectNone);
    EXPECT_EQ(Rows().SelectedCount(), 0);

    frame->Execute(kCmdStop);
    ASSERT_TRUE(WaitUntilIdle(*frame));
    // The row the stopped batch never reached still names its file: Refresh hashes it, and
    // adding the file again finds it and hashes it anew. Both rows say why they have no digest; a
    // stop is no failure to read.
    EXPECT_EQ(Cell(1, kColFullPath), data + "abc.txt");
    EXPECT_EQ(Cell(1, kColSize), "");
    EXPECT_EQ(Rows().Table().Note(0), "stopped before the end");
    EXPECT_EQ(Rows().Table().Note(1), "not reached: hashing was stopped");
    EXPECT_EQ(Rows().FailedCount(), 0);
    EXPECT_EQ(frame->windowTitle(), "Rizodidiz");
    ASSERT_EQ(truncate(huge.c_str(), 0), 0);
    frame->Execute(kCmdRefresh);
    ASSERT_TRUE(WaitUntilIdle(*frame));
    EXPECT_EQ(Cell(0, kColSize), "0");
    EXPECT_EQ(Cell(1, kColSize), "3");
    EXPECT_EQ(Cell(1, kColMd5), kMd5Abc);
    test::WriteText(data + "abc.txt", "");
    Drop({data + "abc.txt"});
    ASSERT_TRUE(WaitUntilIdle(*frame));
    EXPECT_EQ(Rows().RowCount(), 2);
    EXPECT_EQ(Cell(1, kColMd5), kMd5Empty);
}

TEST_F(MainFrameFilesTest, FailedRowsSayWhyTheTitleCountsThemAndSelectFailedPicksThem) {
    ASSERT_EQ(mkfifo((data + "pipe").c_str(), 0600), 0);
    // A folder whose path grows past the platform's limit cannot be listed, even by root.
    ASSERT_EQ(std::system(("cd '" + data +
                           "' && mkdir deep && cd deep && n=$(printf '%0250d' 0) && "
                           "for i in $(seq 17); do mkdir $n && cd -P $n || exit 1; done")
                              .c_str()),
              0);
    Drop({data + "abc.txt", data + "copy.txt", data + "pipe", data + "deep"});
    ASSERT_TRUE(WaitUntilIdle(*frame));
    EXPECT_EQ(frame->windowTitle(),
              QString::fromUtf8("1 file and 1 folder could not be read \u2013 Rizodidiz"));
    ASSERT_EQ(unlink((data + "copy.txt").c_str()), 0);
    frame->Execute(kCmdRefresh);
    ASSERT_TRUE(WaitUntilIdle(*frame));
    const std::vector<std::string> reasons = {"", "No such file or directory",
                                              "not a regular file"};
    ASSERT_EQ(Rows().RowCount(), 3);
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(Rows().RowFailure(row), reasons[row]) << row;
    }
    // A file that is gone is counted apart, and its size is not known.
    EXPECT_EQ(frame->windowTitle().toStdString(),
              "1 file missing, 1 file could not be read \u2013 Rizodidiz");
    EXPECT_EQ(Cell(1, kColSize), "");

    frame->Execute(kCmdSelectFailed);
    EXPECT_EQ(Rows().SelectedCount(), 2);
    EXPECT_FALSE(Rows().IsSelected(0));
    frame->Execute(kCmdRemoveSelected);
    EXPECT_FALSE(frame->CommandAction(kCmdSelectFailed)->isEnabled());
    frame->Execute(kCmdRefresh);
    ASSERT_TRUE(WaitUntilIdle(*frame));
    EXPECT_EQ(frame->windowTitle(), "Rizodidiz");
}

TEST_F(MainFrameFilesTest, RemoveAndClearUpdateTheCount) {
    Drop({data + "abc.txt", data + "copy.txt", data + ".hidden"});
    ASSERT_TRUE(WaitUntilIdle(*frame));
    Rows().SetSelected(1, true);
    frame->Execute(kCmdRemoveSelected);
    EXPECT_EQ(Rows().RowCount(), 2);
    EXPECT_EQ(frame->Panes().PaneText(StatusPanes::kPaneCount), "2 files");
    EXPECT_TRUE(frame->CommandAction(kCmdRefresh)->isEnabled());
    frame->Execute(kCmdClearAll);
    EXPECT_EQ(Rows().RowCount(), 0);
    EXPECT_FALSE(frame->CommandAction(kCmdRefresh)->isEnabled());
    EXPECT_EQ(frame->Panes().PaneText(StatusPanes::kPaneCount), "");
    frame->Execute(kCmdRefresh);
    EXPECT_FALSE(frame->Busy());
}

TEST_F(MainFrameFilesTest, CopyPutsTheTextSaveWritesOnTheClipboard) {
    Drop({data + "abc.txt", data + "\xff-raw.bin"});
    ASSERT_TRUE(WaitUntilIdle(*frame));
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText("before");
    frame->Execute(kCmdCopy);
    EXPECT_EQ(clipboard->text(), "before");

    Rows().SetSelected(0, true);
    frame->Execute(kCmdCopy);
    EXPECT_EQ(clipboard->text().toStdString(),
              "abc.txt\r\n" + kRule + "MD5            : " + kMd5Abc +
                  "\r\nFile Size      : 3 Byte\r\n" + kRule + "\r\n");
    frame->Execute(kCmdCopyMd5);
    EXPECT_EQ(clipboard->text().toStdString(), std::string(kMd5Abc) + "\r\n");

    // A name that is not UTF-8 pastes as plain text with the bytes Save writes.
    frame->Execute(kCmdSelectAll);
    frame->Execute(kCmdCopy);
    const std::string saved = temp.Path() + "saved.txt";
    AnswerNextModal<QFileDialog>([&](QFileDialog* dialog) {
        dialog->selectFile(QString::fromStdString(saved));
        static_cast<QDialog*>(dialog)->accept();
    });
    frame->Execute(kCmdSave);
    EXPECT_EQ(clipboard->mimeData()->data("text/plain").toStdString(), test::ReadText(saved));
    EXPECT_NE(test::ReadText(saved).find("\xff-raw.bin\r\n"), std::string::npos);
}

TEST_F(MainFrameFilesTest, SaveReportsAFailureNamingTheFile) {
    Drop({data + "abc.txt"});
    ASSERT_TRUE(WaitUntilIdle(*frame));
    frame->Execute(kCmdSelectAll);
    // A file that grants nobody write permission is refused, also to root.
    const std::string locked = temp.Path();
    test::WriteText(locked + "old.txt", "old");
    chmod((locked + "old.txt").c_str(), 0444);
    QString message;
    AnswerNextModal<QFileDialog>([&](QFileDialog* dialog) {
        dialog->selectFile(QString::fromStdString(locked + "old.txt"));
        AnswerNextModal<QMessageBox>([&](QMessageBox* replace) {
            replace->button(QMessageBox::Yes)->click();
            AnswerNextModal<QMessageBox>([&](QMessageBox* failure) {
                message = failure->text();
                failure->accept();
            });
        });
        static_cast<QDialog*>(dialog)->accept();
    });
    frame->Execute(kCmdSave);
    EXPECT_TRUE(message.contains(QString::fromStdString(locked + "old.txt")))
        << message.toStdString();
    EXPECT_EQ(test::ReadText(locked + "old.txt"), "old");
}

TEST_F(MainFrameFilesTest, SaveWritesChecksumFilesThatCoreutilsAcceptAndSaysWhatItLeftOut) {
    Drop({data});
    ASSERT_TRUE(WaitUntilIdle(*frame));
    frame->Execute(kCmdSelectAll);
    // Answers the message box Save shows after writing, when `expectBox`.
    const auto save = [&](const char* filter, const std::string& path, bool expectBox) {
        QString message;
        AnswerNextModal<QFileDialog>([&](QFileDialog* dialog) {
            dialog->selectNameFilter(QString::fromLatin1(filter));
            dialog->selectFile(QString::fromStdString(path));
            if (expectBox) {
                AnswerNextModal<QMessageBox>([&](QMessageBox* box) {
                    message = box->text();
                    box->accept();
                });
            }
            static_cast<QDialog*>(dialog)->accept();
        });
        frame->Execute(kCmdSave);
        return message;
    };
    save("MD5 checksum file (*.md5)", data + "sums.md5", false);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(std::system(("cd '" + data + "' && md5sum --strict --quiet -c sums.md5").c_str()), 0);
    // SHA256 is off, so no row has that digest.
    EXPECT_EQ(save("SHA256 checksum file (*.sha256)", data + "sums.sha256", true),
              "5 selected rows were left out: they have no SHA256 digest (switch the digest on and "
              "refresh to list them).");
}

// The name's extension picks what Save writes, whatever type the dialog shows; a name without one
// of them gets the type's format.
TEST_F(MainFrameFilesTest, SaveWritesTheFormatTheTypedNameSays) {
    for (const int digest : {kCmdHashSha1, kCmdHashCrc32, kCmdHashSha256}) {
        frame->Execute(digest);
    }
    Drop({data + "abc.txt", data + "copy.txt", data + "sub/z.txt"});
    ASSERT_TRUE(WaitUntilIdle(*frame));
    frame->Execute(kCmdSelectAll);
    frame->Execute(kCmdCopy);
    const std::string copied =
        QGuiApplication::clipboard()->mimeData()->data("text/plain").toStdString();
    struct Case {
        const char* type;
        const char* name;
        // Run in the data folder on the saved file; empty for the text layout.
        const char* check;
    };
    const Case cases[] = {
        {"Text Files(*.txt)", "typed.md5", "md5sum --strict --quiet -c"},
        {"Text Files(*.txt)", "TYPED.SHA1", "sha1sum --strict --quiet -c"},
        {"SFV file (*.sfv)", "typed.sha256", "sha256sum --strict --quiet -c"},
        {"MD5 checksum file (*.md5)", "typed.Sfv", "cksfv -q -f"},
        {"SHA1 checksum file (*.sha1)", "typed.txt", ""},
        {"SHA256 checksum file (*.sha256)", "typed", "sha256sum --strict --quiet -c"},
        {"MD5 checksum file (*.md5)", "typed.md5.bak", "md5sum --strict --quiet -c"},
    };
    for (const Case& c : cases) {
        AnswerNextModal<QFileDialog>([&](QFileDialog* dialog) {
            dialog->selectNameFilter(QString::fromLatin1(c.type));
            dialog->selectFile(QString::fromStdString(data + c.name));
            static_cast<QDialog*>(dialog)->accept();
        });
        frame->Execute(kCmdSave);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << c.name;
        const std::string saved = test::ReadText(data + c.name);
        if (*c.check == '\0') {
            EXPECT_EQ(saved, copied) << c.name;
        } else {
            EXPECT_EQ(
                std::system(("cd '" + data + "' && " + c.check + " '" + c.name + "'").c_str()), 0)
                << c.name << ":\n"
                << saved;
        }
    }
}

// A list made by md5sum and sha1sum, with names relative to its folder, dropped with a plain file.
TEST_F(MainFrameFilesTest, VerifyGivesEachListedFileItsVerdictAndTheWholeSetInOneMessage) {
    Drop({data + "abc.txt"});
    ASSERT_TRUE(WaitUntilIdle(*frame));
    EXPECT_EQ(TakeMessage(), "");
    const std::string list = data + "list.md5";
    ASSERT_EQ(std::system(("cd '" + data + "' && md5sum abc.txt copy.txt ./*-raw.bin > list.md5" +
                           " && sha1sum --tag sub/z.txt >> list.md5 && printf 'junk\\n" + kMd5Abc +
                           "  missing.txt\\n" + kMd5Abc + "  sub\\n' >> list.md5")
                              .c_str()),
              0);
    test::WriteText(data + "copy.txt", "abd");
    ASSERT_EQ(std::system(("cd '" + data + "' && sha1sum --tag copy.txt >> list.md5 && " +
                           "printf 'XXH32 (abc.txt) = 00000000\\n' >> list.md5")
                              .c_str()),
              0);
    // Reading the list is a scan: Stop before its end is handled leaves the list as it was.
    Drop({list, data + ".hidden"});
    EXPECT_TRUE(frame->Busy());
    frame->Execute(kCmdStop);
    ASSERT_TRUE(WaitUntilIdle(*frame));
    EXPECT_EQ(Rows().RowCount(), 1);
    EXPECT_FALSE(frame->Settings().HashSHA1);
    EXPECT_EQ(TakeMessage(), "");
    EXPECT_EQ(frame->windowTitle(), "Rizodidiz");

    Drop({list, data + ".hidden"});
    ASSERT_TRUE(WaitUntilIdle(*frame));

    const std::pair<std::string, std::string> verdicts[] = {
        {"abc.txt", "OK"},   {"copy.txt", "FAILED (MD5)"}, {"\xff-raw.bin", "OK"},
        {"sub/z.txt", "OK"}, {"missing.txt", "MISSING"},   {"sub", "UNREADABLE: Is a directory"},
        {".hidden", ""},     {"list.md5", "no row"}};
    for (const auto& [name, verdict] : verdicts) {
        EXPECT_EQ(VerdictOf(data + name), verdict) << name;
    }
    EXPECT_EQ(Rows().RowCount(), 7) << "the listed abc.txt reuses its row";
    EXPECT_TRUE(frame->Settings().HashSHA1);
    EXPECT_FALSE(frame->List().isColumnHidden(kColVerdict));
    const auto markColour = [this](const std::string& name) {
        const QModelIndex cell = Rows().index(Rows().FindRowByPath(data + name), kColVerdict);
        return qvariant_cast<QPixmap>(cell.data(Qt::DecorationRole)).toImage().pixelColor(6, 6);
    };
    EXPECT_NE(markColour("abc.txt"), markColour("copy.txt"));
    EXPECT_EQ(TakeMessage(),
              "1 FAILED, 1 MISSING, 1 UNREADABLE, 3 OK; 1 line improperly formatted; 1 XXH32 "
              "line not supported");

    // An ordinary batch clears the verdicts it makes stale and says nothing at its end.
    frame->Execute(kCmdRefresh);
    ASSERT_TRUE(WaitUntilIdle(*frame));
    EXPECT_EQ(VerdictOf(data + "copy.txt"), "");
    EXPECT_EQ(TakeMessage(), "");
}

// A checksum file that yields nothing leaves the list as it was and says why.
TEST_F(MainFrameFilesTest, VerifyOfAnUnusableChecksumFileOnlyExplains) {
    Drop({data + "abc.txt"});
    ASSERT_TRUE(WaitUntilIdle(*frame));
    const std::pair<std::string, std::string> cases[] = {
        {temp.File("empty.sha256", ""), "holds no checksum line"},
        {temp.File("junk.sfv", "no digest here\r\n"), "holds no checksum line"},
        {temp.File("SM3SUMS", "SM3 (abc.txt) = " + std::string(64, '0') + "\n"),
         "SM3 lines are not supported"},
        {temp.Path() + "gone.md5", "No such file or directory"},
    };
    for (const auto& [path, reason] : cases) {
        // The dialog takes existing files only.
        if (std::filesystem::exists(path)) {
            AnswerNextModal<QFileDialog>([&path](QFileDialog* dialog) {
                EXPECT_TRUE(dialog->nameFilters().join(' ').contains("(*.sfv)"));
                dialog->selectFile(QString::fromStdString(path));
                static_cast<QDialog*>(dialog)->accept();
            });
            frame->Execute(kCmdVerify);
        } else {
            frame->VerifyFiles({path}, {});
        }
        ASSERT_TRUE(WaitUntilIdle(*frame));
        const QString message = TakeMessage();
        EXPECT_TRUE(message.contains(QString::fromStdString(reason))) << message.toStdString();
        EXPECT_FALSE(frame->Busy());
        EXPECT_EQ(Rows().RowCount(), 1);
    }
}

TEST_F(MainFrameFilesTest, CompareWithClipboardSelectsTheRowsOfThatDigest) {
    Drop({data + "abc.txt", data + "copy.txt", data + "sub/z.txt"});
    ASSERT_TRUE(WaitUntilIdle(*frame));
    const std::pair<QString, QString> cases[] = {
        {QString(" %1\n").arg(QString(kMd5Abc).toUpper()),
         "2 rows have the MD5 digest from the clipboard."},
        {"00000000", "No row has the CRC32 digest from the clipboard."},
        {QString(kMd5Abc).left(31) + "g",
         "The clipboard holds no digest: 8, 32, 40 or 64 "
         "hexadecimal digits."},
    };
    for (const auto& [clipboard, message] : cases) {
        QGuiApplication::clipboard()->setText(clipboard);
        frame->Execute(kCmdCompareClipboard);
        EXPECT_EQ(TakeMessage(), message);
    }
    EXPECT_EQ(Rows().SelectedCount(), 0);
    QGuiApplication::clipboard()->setText(kMd5Abc);
    frame->Execute(kCmdCompareClipboard);
    EXPECT_EQ(Rows().SelectedCount(), 2);
    EXPECT_FALSE(Rows().IsSelected(Rows().FindRowByPath(data + "sub/z.txt")));
}

}  // namespace
}  // namespace rizo
