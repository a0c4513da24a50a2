// SPDX-License-Identifier: MIT
// Options and About dialogs, the hyperlink and opening web addresses, driven offscreen.
#include <gtest/gtest.h>
#include <openssl/crypto.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <functional>

#include "ui/dialogs/about_dialog.h"
#include "ui/dialogs/hyper_link.h"
#include "ui/dialogs/options_dialog.h"
#include "ui/dialogs/web_links.h"

namespace rizo {
namespace {

void SendMouse(QWidget& widget, QEvent::Type type, QPoint pos) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? button : Qt::NoButton;
    QMouseEvent event(type, pos, widget.mapToGlobal(pos), button, held, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

// A link in an active window whose opener counts calls and answers as told.
struct LinkFixture {
    QWidget window;
    HyperLink* link = new HyperLink(QStringLiteral("https://example.org/a"), &window);
    int opens = 0;
    bool answer = true;

    LinkFixture() {
        link->setGeometry(10, 10, 300, 30);
        link->SetOpener([this](const std::string&) { return ++opens, answer; });
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        // The window's only Tab stop, the link has the focus once the window is active.
        link->clearFocus();
    }
    QPoint Point(bool insideText) const {
        const QPoint corner(link->width() - 1, link->height() - 1);
        EXPECT_FALSE(link->TextRect().contains(corner));
        return insideText ? link->TextRect().center() : corner;
    }
};

// Only the text underlines and shows the hand. It turns purple only after an open that succeeded,
// and stays so.
TEST(HyperLink, HoverAndColourFollowTheTextAndTheOpens) {
    LinkFixture f;
    EXPECT_EQ(f.link->toolTip(), QStringLiteral("https://example.org/a"));
    for (const bool inside : {true, false, true}) {
        SendMouse(*f.link, QEvent::MouseMove, f.Point(inside));
        EXPECT_EQ(f.link->Hovered(), inside);
        EXPECT_EQ(f.link->cursor().shape(), inside ? Qt::PointingHandCursor : Qt::ArrowCursor);
    }
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(f.link, &leave);
    EXPECT_FALSE(f.link->Hovered());
    for (const auto& [answer, colour] :
         {std::pair{false, QColor(0, 0, 255)}, std::pair{true, QColor(128, 0, 128)},
          std::pair{false, QColor(128, 0, 128)}}) {
        f.answer = answer;
        QTest::keyClick(f.link, Qt::Key_Space);
        EXPECT_EQ(f.link->TextColor(), colour) << f.opens;
    }
    // On a dark theme's window the theme's own link colour takes the place of purple.
    QPalette dark = f.link->palette();
    dark.setColor(QPalette::Window, QColor(0x22, 0x20, 0x20));
    dark.setColor(QPalette::LinkVisited, QColor(0xE0, 0x80, 0xE0));
    f.link->setPalette(dark);
    EXPECT_EQ(f.link->TextColor(), QColor(0xE0, 0x80, 0xE0));
    f.link->setEnabled(false);
    EXPECT_EQ(f.link->TextColor(),
              f.link->palette().color(QPalette::Disabled, QPalette::WindowText));
}

TEST(HyperLink, OpensOnPressAndReleaseInsideTheTextOrOnSpaceAndEnter) {
    for (const auto& [pressInside, releaseInside] :
         {std::pair{true, true}, std::pair{true, false}, std::pair{false, true}}) {
        LinkFixture f;
        SendMouse(*f.link, QEvent::MouseButtonPress, f.Point(pressInside));
        EXPECT_EQ(f.link->hasFocus(), pressInside);
        SendMouse(*f.link, QEvent::MouseButtonRelease, f.Point(releaseInside));
        EXPECT_EQ(f.opens, pressInside && releaseInside) << pressInside << releaseInside;
    }
    for (const auto& [key, opens] : {std::pair{Qt::Key_Space, 1}, std::pair{Qt::Key_Return, 1},
                                     std::pair{Qt::Key_Enter, 1}, std::pair{Qt::Key_A, 0}}) {
        LinkFixture f;
        QTest::keyClick(f.link, key);
        EXPECT_EQ(f.opens, opens) << key;
    }
}

// Screen readers see a focusable link named by its address, which their press action opens.
TEST(HyperLink, IsAnAccessibleLinkWithANameAndAPressAction) {
    LinkFixture f;
    QAccessibleInterface* link = QAccessible::queryAccessibleInterface(f.link);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->role(), QAccessible::Link);
    EXPECT_EQ(link->text(QAccessible::Name), QStringLiteral("https://example.org/a"));
    EXPECT_FALSE(link->text(QAccessible::Description).isEmpty());
    EXPECT_TRUE(link->state().focusable);
    QAccessibleActionInterface* actions = link->actionInterface();
    ASSERT_NE(actions, nullptr);
    ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(f.opens, 1);
}

TEST(OpenUrl, FallsBackToTheBrowserAndSaysWhetherEitherWorked) {
    const char* page = WebLinks::kSupport;
    struct Case {
        const char* address;
        bool desktopWorks, browserWorks, result;
        QStringList launched;
    };
    for (const Case& c :
         {Case{page, true, false, true, {}}, Case{page, false, true, true, {"x-www-browser", page}},
          Case{page, false, false, false, {"x-www-browser", page}},
          Case{"--new-window", true, true, false, {}},
          Case{"help/index.html", true, true, false, {}}}) {
        QStringList launched;
        const UrlOpenAttempts attempts{
            [&](const QUrl& url) { return url.toString() == c.address && c.desktopWorks; },
            [&](const QString& program, const QStringList& arguments) {
                launched = QStringList{program} + arguments;
                return c.browserWorks;
            }};
        EXPECT_EQ(ShellUtil::OpenUrl(c.address, attempts), c.result) << c.address;
        EXPECT_EQ(launched, c.launched) << c.address;
    }
}

// Shows the modal dialog that `show` opens to `body`, then lets `show` return.
template <class Dialog>
void WithModal(const std::function<void()>& show, const std::function<void(Dialog&)>& body) {
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        EXPECT_NE(dialog, nullptr);
        if (dialog != nullptr) {
            body(*dialog);
        }
        // A dialog the body failed to close must not hang the suite.
        if (QWidget* open = QApplication::activeModalWidget()) {
            open->close();
        }
    });
    show();
}

// Off-centre on the screen, with room for a dialog centred over it.
struct Owner : QWidget {
    Owner() {
        setGeometry(
            QGuiApplication::primaryScreen()->availableGeometry().adjusted(40, 30, -10, -20));
        setWindowIcon(QIcon(QPixmap(32, 32)));
        show();
    }
    void ExpectCentredOver(const QWidget& dialog) const {
        EXPECT_LE((dialog.geometry().center() - geometry().center()).manhattanLength(), 2);
    }
};

template <class Widget>
Widget* Find(QWidget& parent, const QString& text) {
    for (Widget* widget : parent.findChildren<Widget*>()) {
        if (widget->text() == text) {
            return widget;
        }
    }
    ADD_FAILURE() << "no control " << text.toStdString();
    return nullptr;
}

TEST(AboutDialog, NamesProgramMakerLibrariesAndLicencesOpensCentredOnOkAndClosesEveryWay) {
    Owner owner;
    const std::vector<std::function<void(AboutDialog&)>> closers = {
        [](AboutDialog& d) { QTest::keyClick(d.focusWidget(), Qt::Key_Escape); },
        [](AboutDialog& d) { d.close(); },
        [](AboutDialog& d) { QTest::keyClick(d.focusWidget(), Qt::Key_Space); },
    };
    for (const auto& close : closers) {
        WithModal<AboutDialog>(
            [&] { ShowAboutDialog(&owner); },
            [&](AboutDialog& dialog) {
                EXPECT_EQ(dialog.windowTitle(), QStringLiteral("About"));
                owner.ExpectCentredOver(dialog);
                EXPECT_EQ(dialog.focusWidget(), Find<QPushButton>(dialog, "OK"));
                QString text;
                bool icon = false;
                for (const QLabel* label : dialog.findChildren<QLabel*>()) {
                    text += label->text();
                    icon = icon || !label->pixmap().isNull();
                }
                const QString openSsl = QString::fromLatin1(OpenSSL_version(OPENSSL_VERSION))
                                            .section(QLatin1Char(' '), 1, 1);
                for (const QString& part :
                     {QStringLiteral("Rizodidiz"), QStringLiteral(RIZO_TEST_VERSION),
                      QStringLiteral("Dodevovaze"), QStringLiteral("2026"),
                      QStringLiteral("MIT licence"),
                      QStringLiteral("Qt %1 (LGPL-3.0)").arg(qVersion()),
                      QStringLiteral("OpenSSL %1 (Apache-2.0)").arg(openSsl)}) {
                    EXPECT_TRUE(text.contains(part))
                        << part.toStdString() << " in " << text.toStdString();
                }
                EXPECT_TRUE(icon);
                EXPECT_EQ(dialog.Link().Address(), WebLinks::kMakerHome);
                // The link is the Tab stop after OK, and Tab goes round to OK again.
                QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
                EXPECT_EQ(dialog.focusWidget(), &dialog.Link());
                QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
                EXPECT_EQ(dialog.focusWidget(), Find<QPushButton>(dialog, "OK"));
                for (const QLabel* label : dialog.findChildren<QLabel*>()) {
                    EXPECT_GE(label->width(), label->sizeHint().width())
                        << label->text().toStdString();
                    EXPECT_GE(label->height(), label->heightForWidth(label->width()))
                        << label->text().toStdString();
                }
                close(dialog);
                EXPECT_FALSE(dialog.isVisible());
            });
    }
}

// Clicks the indicator: Qt boxes react to the indicator and text, not their whole width.
void Click(QCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
}

const char* const kBoxes[] = {"Size",
                              "Date Created",
                              "Date Modified",
                              "Folder",
                              "Automatic sorting by file name.",
                              "Use Monospaced fonts.",
                              "Play a beep after hash finished."};

TEST(OptionsDialog, FieldsFollowEveryClickAndOnlyOkTakesThemOver) {
    using Close = std::function<void(OptionsDialog&)>;
    const Close ok = [](OptionsDialog& d) { QTest::keyClick(&d, Qt::Key_Return); };
    struct Case {
        int clicks;
        Close close;
        bool taken;
    };
    for (const Case& c :
         {Case{1, ok, true}, Case{2, ok, true},
          Case{1, [](OptionsDialog& d) { Find<QPushButton>(d, "Cancel")->click(); }, false},
          Case{1, [](OptionsDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }, false},
          Case{1, [](OptionsDialog& d) { d.close(); }, false}}) {
        ProgramSettings settings;
        ProgramSettings expected = settings;
        for (bool* field : {&expected.IncSize, &expected.IncDateCreated, &expected.IncDateModified,
                            &expected.IncFolder, &expected.AutoSortFileName, &expected.UseMonoFont,
                            &expected.ShowBeepMessage}) {
            *field = *field != (c.taken && c.clicks == 1);
        }
        const auto clickAll = [&](OptionsDialog& dialog) {
            for (const char* text : kBoxes) {
                ProgramSettings before, after;
                dialog.StoreInto(before);
                for (int i = 0; i < c.clicks; ++i) {
                    Click(Find<QCheckBox>(dialog, text));
                }
                dialog.StoreInto(after);
                EXPECT_EQ(before == after, c.clicks == 2) << text;
            }
            QTest::keyClicks(dialog.findChild<QComboBox*>(), "T");
            expected.DelimiterType = c.taken ? 1 : 0;
            c.close(dialog);
        };
        WithModal<OptionsDialog>([&] { EXPECT_EQ(RunOptionsDialog(settings, nullptr), c.taken); },
                                 clickAll);
        EXPECT_EQ(settings, expected) << c.clicks << c.taken;
    }
}

TEST(OptionsDialog, DelimiterOutsideTheListIsKeptUntilTheUserChooses) {
    struct Case {
        int32_t stored;
        const char* typed;
        int shown;
        int32_t result;
    };
    for (const Case& c : {Case{7, "", -1, 7}, Case{-3, "", -1, -3}, Case{7, "T", -1, 1},
                          Case{7, "N", -1, 0}, Case{1, "N", 1, 0}, Case{0, "", 0, 0}}) {
        ProgramSettings settings;
        settings.DelimiterType = c.stored;
        OptionsDialog dialog(settings);
        auto* list = dialog.findChild<QComboBox*>();
        ASSERT_EQ(list->count(), 2);
        EXPECT_EQ(list->itemText(0) + list->itemText(1), QStringLiteral("NewlineTabs"));
        EXPECT_EQ(list->currentIndex(), c.shown) << c.stored;
        // Screen readers name the list by the label it is linked to (on Linux its own name is
        // the value it shows).
        const auto labels =
            QAccessible::queryAccessibleInterface(list)->relations(QAccessible::Label);
        ASSERT_EQ(labels.size(), 1);
        EXPECT_EQ(labels[0].first->text(QAccessible::Name), QStringLiteral("Column Delimiter:"));
        QTest::keyClicks(list, c.typed);
        dialog.StoreInto(settings);
        EXPECT_EQ(settings.DelimiterType, c.result) << c.stored << c.typed;
    }
}

// Every control's text fits its box in the font in use, and the group frame lies under the boxes
// it surrounds, so clicks reach them.
TEST(OptionsDialog, OpensCentredWithFocusOnOkTabsInTemplateOrderAndEveryTextFits) {
    Owner owner;
    ProgramSettings settings;
    WithModal<OptionsDialog>(
        [&] { RunOptionsDialog(settings, &owner); },
        [&](OptionsDialog& dialog) {
            EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Options"));
            owner.ExpectCentredOver(dialog);
            QStringList order;
            for (int i = 0; i < 11; ++i) {
                QWidget* focus = dialog.focusWidget();
                auto* button = qobject_cast<QAbstractButton*>(focus);
                order << (button ? button->text() : focus->metaObject()->className());
                QTest::keyClick(focus, Qt::Key_Tab);
            }
            EXPECT_EQ(order,
                      QStringList({"OK", "Cancel", kBoxes[0], kBoxes[1], kBoxes[2], kBoxes[3],
                                   "QComboBox", kBoxes[4], kBoxes[5], kBoxes[6], "OK"}));
            // Every Tab stop is named, by its own text or by its label.
            for (QWidget* control : dialog.findChildren<QWidget*>()) {
                if (control->focusPolicy() & Qt::TabFocus) {
                    QAccessibleInterface* named = QAccessible::queryAccessibleInterface(control);
                    EXPECT_TRUE(!named->text(QAccessible::Name).isEmpty() ||
                                !named->relations(QAccessible::Label).isEmpty())
                        << control->metaObject()->className();
                }
            }
            for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
                EXPECT_GE(button->width(), button->sizeHint().width())
                    << button->text().toStdString();
                EXPECT_GE(button->height(), button->fontMetrics().height())
                    << button->text().toStdString();
            }
            for (const QLabel* label : dialog.findChildren<QLabel*>()) {
                EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
            }
            for (const char* text : kBoxes) {
                const QCheckBox* box = Find<QCheckBox>(dialog, text);
                EXPECT_EQ(dialog.childAt(box->geometry().topLeft() + QPoint(5, box->height() / 2)),
                          box);
            }
        });
}

}  // namespace
}  // namespace rizo
