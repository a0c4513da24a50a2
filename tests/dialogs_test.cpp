// Options and About dialogs, the hyperlink and opening web addresses, driven offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <functional>

#include "ui/dialogs/about_dialog.h"
#include "ui/dialogs/dialog_template.h"
#include "ui/dialogs/hyper_link.h"
#include "ui/dialogs/open_url.h"
#include "ui/dialogs/options_dialog.h"
#include "ui/dialogs/web_links.h"

namespace rizo {
namespace {

const QColor kBlue(0, 0, 255);
const QColor kPurple(128, 0, 128);

void SendMouse(QWidget& widget, QEvent::Type type, QPoint pos) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent event(type, pos, widget.mapToGlobal(pos),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                      Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

void SendKey(QWidget& widget, Qt::Key key) {
    QTest::keyClick(&widget, key);
}

// A link in a shown window whose opener counts calls and answers as told.
struct LinkFixture {
    QWidget window;
    HyperLink* link = new HyperLink(QStringLiteral("https://example.org/a"), &window);
    int opens = 0;
    bool answer = true;

    LinkFixture() {
        window.resize(400, 100);
        link->setGeometry(10, 10, 300, 30);
        link->SetOpener([this](const std::string& address) {
            EXPECT_EQ(address, "https://example.org/a");
            ++opens;
            return answer;
        });
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    QPoint InsideText() const { return link->TextRect().center(); }
    QPoint OutsideText() const {
        const QPoint corner(link->width() - 1, link->height() - 1);
        EXPECT_FALSE(link->TextRect().contains(corner));
        return corner;
    }
};

TEST(HyperLink, TurnsVisitedOnlyAfterAnOpenThatSucceeded) {
    LinkFixture f;
    EXPECT_EQ(f.link->TextColor(), kBlue);
    f.answer = false;
    SendKey(*f.link, Qt::Key_Space);
    EXPECT_EQ(f.opens, 1);
    EXPECT_EQ(f.link->TextColor(), kBlue);
    f.answer = true;
    SendKey(*f.link, Qt::Key_Space);
    EXPECT_EQ(f.link->TextColor(), kPurple);
    f.answer = false;
    SendKey(*f.link, Qt::Key_Space);
    EXPECT_EQ(f.opens, 3);
    EXPECT_EQ(f.link->TextColor(), kPurple);
    f.link->setEnabled(false);
    EXPECT_EQ(f.link->TextColor(),
              f.link->palette().color(QPalette::Disabled, QPalette::WindowText));
}

TEST(HyperLink, OpensOnlyWhenPressedAndReleasedInsideTheText) {
    struct Case {
        const char* what;
        bool pressInside;
        bool releaseInside;
        int opens;
    };
    for (const Case& c :
         {Case{"inside, inside", true, true, 1}, Case{"inside, outside", true, false, 0},
          Case{"outside, inside", false, true, 0}, Case{"outside, outside", false, false, 0}}) {
        LinkFixture f;
        SendMouse(*f.link, QEvent::MouseButtonPress,
                  c.pressInside ? f.InsideText() : f.OutsideText());
        EXPECT_EQ(f.link->hasFocus(), c.pressInside) << c.what;
        SendMouse(*f.link, QEvent::MouseButtonRelease,
                  c.releaseInside ? f.InsideText() : f.OutsideText());
        EXPECT_EQ(f.opens, c.opens) << c.what;
    }
}

TEST(HyperLink, SpaceAndEnterOpenButOtherKeysDoNot) {
    for (const auto& [key, opens] :
         {std::pair{Qt::Key_Space, 1}, std::pair{Qt::Key_Return, 1}, std::pair{Qt::Key_Enter, 1},
          std::pair{Qt::Key_A, 0}, std::pair{Qt::Key_Tab, 0}}) {
        LinkFixture f;
        SendKey(*f.link, key);
        EXPECT_EQ(f.opens, opens) << key;
    }
}

TEST(HyperLink, HoverOverTheTextOnlyUnderlinesAndShowsTheHand) {
    LinkFixture f;
    EXPECT_EQ(f.link->toolTip(), QStringLiteral("https://example.org/a"));
    EXPECT_FALSE(f.link->focusPolicy() & Qt::TabFocus);
    SendMouse(*f.link, QEvent::MouseMove, f.InsideText());
    EXPECT_TRUE(f.link->Hovered());
    EXPECT_EQ(f.link->cursor().shape(), Qt::PointingHandCursor);
    SendMouse(*f.link, QEvent::MouseMove, f.OutsideText());
    EXPECT_FALSE(f.link->Hovered());
    EXPECT_EQ(f.link->cursor().shape(), Qt::ArrowCursor);
    SendMouse(*f.link, QEvent::MouseMove, f.InsideText());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(f.link, &leave);
    EXPECT_FALSE(f.link->Hovered());
}

TEST(OpenUrl, FallsBackToTheBrowserAndReportsWhetherEitherWorked) {
    struct Case {
        bool desktopWorks;
        bool browserWorks;
        bool result;
        bool browserTried;
    };
    for (const Case& c : {Case{true, true, true, false}, Case{false, true, true, true},
                          Case{false, false, false, true}}) {
        QString program;
        QStringList arguments;
        QUrl seen;
        const UrlOpenAttempts attempts{[&](const QUrl& url) {
                                           seen = url;
                                           return c.desktopWorks;
                                       },
                                       [&](const QString& name, const QStringList& args) {
                                           program = name;
                                           arguments = args;
                                           return c.browserWorks;
                                       }};
        EXPECT_EQ(ShellUtil::OpenUrl(WebLinks::kSupport, attempts), c.result);
        EXPECT_EQ(seen.toString(), QString::fromUtf8(WebLinks::kSupport));
        EXPECT_EQ(!program.isEmpty(), c.browserTried);
        if (c.browserTried) {
            EXPECT_EQ(program, QStringLiteral("x-www-browser"));
            EXPECT_EQ(arguments, QStringList{QString::fromUtf8(WebLinks::kSupport)});
        }
    }
}

TEST(OpenUrl, RefusesTextThatIsNoAbsoluteAddress) {
    int attemptsMade = 0;
    const UrlOpenAttempts attempts{
        [&](const QUrl&) { return ++attemptsMade > 0; },
        [&](const QString&, const QStringList&) { return ++attemptsMade > 0; }};
    for (const char* text : {"", "--new-window", "help/index.html", "http://exa mple.org/"}) {
        EXPECT_FALSE(ShellUtil::OpenUrl(text, attempts)) << text;
    }
    EXPECT_EQ(attemptsMade, 0);
}

// Runs `body` on the modal dialog once it is showing, then lets `show` return.
template <class Dialog>
void WithModal(const std::function<void()>& show, const std::function<void(Dialog&)>& body) {
    bool ran = false;
    QTimer::singleShot(0, [&] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            ran = true;
            body(*dialog);
        }
        // A dialog the body failed to close must not hang the suite.
        if (QWidget* open = QApplication::activeModalWidget()) {
            open->close();
        }
    });
    show();
    EXPECT_TRUE(ran);
}

struct MainWindowStandIn : QWidget {
    MainWindowStandIn() {
        // Off-centre on the screen, but with room for a dialog centred over it.
        setGeometry(
            QGuiApplication::primaryScreen()->availableGeometry().adjusted(40, 30, -10, -20));
        show();
    }
    void ExpectCentredOver(const QWidget& dialog) const {
        EXPECT_NEAR(dialog.geometry().center().x(), geometry().center().x(), 1);
        EXPECT_NEAR(dialog.geometry().center().y(), geometry().center().y(), 1);
    }
};

TEST(AboutDialog, OpensCentredWithFocusOnOkAndClosesByEveryWay) {
    MainWindowStandIn owner;
    using Close = std::function<void(AboutDialog&)>;
    const std::vector<Close> closers = {
        [](AboutDialog& d) { SendKey(*d.focusWidget(), Qt::Key_Escape); },
        [](AboutDialog& d) { d.close(); },
        [](AboutDialog& d) { SendKey(*d.focusWidget(), Qt::Key_Space); },
        [](AboutDialog& d) { SendKey(d, Qt::Key_Return); },
    };
    for (size_t i = 0; i < closers.size(); ++i) {
        WithModal<AboutDialog>([&] { ShowAboutDialog(&owner); },
                               [&](AboutDialog& dialog) {
                                   EXPECT_EQ(dialog.windowTitle(), QStringLiteral("About"));
                                   owner.ExpectCentredOver(dialog);
                                   auto* ok = qobject_cast<QPushButton*>(dialog.focusWidget());
                                   ASSERT_NE(ok, nullptr);
                                   EXPECT_EQ(ok->text(), QStringLiteral("OK"));
                                   closers[i](dialog);
                                   EXPECT_FALSE(dialog.isVisible()) << i;
                               });
    }
}

TEST(AboutDialog, NamesProgramVersionAndMakerAndLinksToTheHomePage) {
    AboutDialog dialog;
    QStringList texts;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        texts << label->text();
    }
    const QString all = texts.join('\n');
    for (const char* part : {"Rizodidiz", RIZO_TEST_VERSION, "Dodevovaze", "2026"}) {
        EXPECT_TRUE(all.contains(QString::fromUtf8(part))) << part;
    }
    EXPECT_EQ(dialog.Link().Address(), QString::fromUtf8(WebLinks::kMakerHome));
    EXPECT_EQ(dialog.Link().TextColor(), kBlue);
    // Tab stays on OK: the link is not a tab stop.
    dialog.show();
    QWidget* ok = dialog.focusWidget();
    SendKey(*ok, Qt::Key_Tab);
    EXPECT_EQ(dialog.focusWidget(), ok);
}

TEST(DialogUnits, ScaleWithTheFontsAverageWidthAndHeight) {
    QFont font = DialogFont();
    const DialogUnits units(font);
    const QFontMetrics metrics(font);
    EXPECT_NEAR(units.BaseX(), metrics.averageCharWidth(), 1);
    EXPECT_EQ(units.BaseY(), metrics.height());
    EXPECT_EQ(units.ToPixels(4, 8, 40, 16),
              QRect(units.BaseX(), units.BaseY(), 10 * units.BaseX(), 2 * units.BaseY()));
    font.setPointSize(font.pointSize() * 2);
    EXPECT_GT(DialogUnits(font).BaseY(), units.BaseY());
}

template <class Widget>
Widget* FindByText(QWidget& parent, const QString& text) {
    for (Widget* widget : parent.findChildren<Widget*>()) {
        if (widget->text() == text) {
            return widget;
        }
    }
    ADD_FAILURE() << "no control " << text.toStdString();
    return nullptr;
}

// Clicks the box's indicator: Qt boxes react to the indicator and text, not their whole width.
void ClickBox(QCheckBox& box) {
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(5, box.height() / 2));
}

// The eight fields the dialog edits, with every box flipped from its default.
ProgramSettings EditedFields(ProgramSettings settings) {
    for (bool* field : {&settings.AutoSortFileName, &settings.UseMonoFont,
                        &settings.ShowBeepMessage, &settings.IncSize, &settings.IncDateCreated,
                        &settings.IncDateModified, &settings.IncFolder}) {
        *field = !*field;
    }
    return settings;
}

const char* const kBoxTexts[] = {"Automatic sorting by file name.",
                                 "Use Monospaced fonts.",
                                 "Play a beep after hash finished.",
                                 "Size",
                                 "Date Created",
                                 "Date Modified",
                                 "Folder"};

TEST(OptionsDialog, FieldsFollowEveryClickAndOkTakesThemOver) {
    for (int clicks : {1, 2}) {
        ProgramSettings settings;
        settings.X = 42;
        ProgramSettings expected = clicks == 1 ? EditedFields(settings) : settings;
        WithModal<OptionsDialog>([&] { EXPECT_TRUE(RunOptionsDialog(settings, nullptr)); },
                                 [&](OptionsDialog& dialog) {
                                     for (const char* text : kBoxTexts) {
                                         auto* box = FindByText<QCheckBox>(dialog, text);
                                         ProgramSettings before;
                                         dialog.StoreInto(before);
                                         for (int i = 0; i < clicks; ++i) {
                                             ClickBox(*box);
                                         }
                                         ProgramSettings after;
                                         dialog.StoreInto(after);
                                         EXPECT_EQ(before == after, clicks == 2) << text;
                                     }
                                     QTest::keyClick(&dialog, Qt::Key_Return);
                                 });
        EXPECT_EQ(settings, expected) << clicks;
    }
}

TEST(OptionsDialog, CancelEscapeAndTheCloseBoxDropTheEdits) {
    const std::vector<std::function<void(OptionsDialog&)>> closers = {
        [](OptionsDialog& d) { FindByText<QPushButton>(d, "Cancel")->click(); },
        [](OptionsDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); },
        [](OptionsDialog& d) { d.close(); },
    };
    for (const auto& close : closers) {
        ProgramSettings settings;
        WithModal<OptionsDialog>([&] { EXPECT_FALSE(RunOptionsDialog(settings, nullptr)); },
                                 [&](OptionsDialog& dialog) {
                                     ClickBox(*FindByText<QCheckBox>(dialog, "Folder"));
                                     QTest::keyClicks(dialog.findChild<QComboBox*>(), "T");
                                     close(dialog);
                                 });
        EXPECT_EQ(settings, ProgramSettings());
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
        EXPECT_EQ(list->itemText(0), QStringLiteral("Newline"));
        EXPECT_EQ(list->itemText(1), QStringLiteral("Tabs"));
        EXPECT_EQ(list->currentIndex(), c.shown) << c.stored;
        QTest::keyClicks(list, c.typed);
        dialog.StoreInto(settings);
        EXPECT_EQ(settings.DelimiterType, c.result) << c.stored << c.typed;
    }
}

TEST(OptionsDialog, OpensCentredWithFocusOnOkAndTabsInTemplateOrder) {
    MainWindowStandIn owner;
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
            EXPECT_EQ(order, QStringList({"OK", "Cancel", "Size", "Date Created", "Date Modified",
                                          "Folder", "QComboBox", kBoxTexts[0], kBoxTexts[1],
                                          kBoxTexts[2], "OK"}));
            dialog.reject();
        });
}

TEST(OptionsDialog, ControlsStandWhereTheTemplatePutsThem) {
    OptionsDialog dialog{ProgramSettings()};
    const DialogUnits units(dialog.font());
    EXPECT_EQ(dialog.size(), units.ToPixels(0, 0, 285, 152).size());
    struct Case {
        const char* text;
        int x, y, w, h;
    };
    for (const Case& c : {Case{"OK", 83, 129, 50, 14}, Case{"Cancel", 151, 129, 50, 14},
                          Case{"Size", 88, 70, 64, 13}, Case{"Date Modified", 185, 83, 64, 13},
                          Case{"Play a beep after hash finished.", 15, 37, 224, 13}}) {
        auto* button = FindByText<QAbstractButton>(dialog, c.text);
        EXPECT_EQ(button->geometry(), units.ToPixels(c.x, c.y, c.w, c.h)) << c.text;
    }
    EXPECT_EQ(FindByText<QLabel>(dialog, "Column Delimiter:")->geometry(),
              units.ToPixels(10, 102, 70, 12));
    EXPECT_EQ(dialog.findChild<QComboBox*>()->geometry().topLeft(),
              units.ToPixels(88, 101, 0, 0).topLeft());
}

}  // namespace
}  // namespace rizo
