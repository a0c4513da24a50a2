// Options and About dialogs, the hyperlink and opening web addresses, driven offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "ui/dialogs/about_dialog.h"
#include "ui/dialogs/dialog_template.h"
#include "ui/dialogs/hyper_link.h"
#include "ui/dialogs/open_url.h"
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
        setGeometry(120, 90, 900, 550);
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

}  // namespace
}  // namespace rizo
