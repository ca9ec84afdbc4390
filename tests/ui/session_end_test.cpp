#include "panel_fixture.h"
#include "platform/session_end.h"
#include "storage/codepage.h"

#include <QTest>
#include <csignal>
#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

class SessionEndSignal : public testing::TestWithParam<int> {};

// Each ending signal runs the close once, on the GUI thread, and then gives the signal back
// its former meaning, so a second one ends a program whose close hangs.
TEST_P(SessionEndSignal, RunsTheCloseOnceAndRestoresTheHandler) {
    const int signal = GetParam();
    struct sigaction before {};
    sigaction(signal, nullptr, &before);
    int closes = 0;
    {
        SessionEnd sessionEnd([&] { ++closes; });
        struct sigaction installed {};
        sigaction(signal, nullptr, &installed);
        EXPECT_NE(installed.sa_handler, before.sa_handler);

        std::raise(signal);
        EXPECT_EQ(closes, 0) << "the close must not run inside the signal handler";
        EXPECT_TRUE(QTest::qWaitFor([&] { return closes > 0; }, 2000));
        EXPECT_EQ(closes, 1);

        struct sigaction after {};
        sigaction(signal, nullptr, &after);
        EXPECT_EQ(after.sa_handler, before.sa_handler);
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(closes, 1);
}

INSTANTIATE_TEST_SUITE_P(Signals, SessionEndSignal, testing::Values(SIGTERM, SIGINT, SIGHUP),
                         [](const auto& info) {
                             return std::string(info.param == SIGTERM  ? "SIGTERM"
                                                : info.param == SIGINT ? "SIGINT"
                                                                       : "SIGHUP");
                         });

TEST(SessionEnd, IgnoredSignalStaysIgnored) {
    const auto previous = std::signal(SIGHUP, SIG_IGN);
    {
        SessionEnd sessionEnd([] {});
        struct sigaction now {};
        sigaction(SIGHUP, nullptr, &now);
        EXPECT_EQ(now.sa_handler, SIG_IGN);
    }
    std::signal(SIGHUP, previous);
}

class SessionEndPanel : public PanelFixture {};

// SIGTERM to a running register ends it as the close box does: the journal written whole,
// the printer's one call, the program's end.
TEST_F(SessionEndPanel, TerminationClosesThePanelLikeTheCloseBox) {
    SessionEnd sessionEnd([this] { window->close(); });
    const QString receipt = QStringLiteral("\r\n 01  150 руб\r\nИТОГО");
    rig.reg->journalAppend(receipt);
    std::raise(SIGTERM);
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.programEnd.ended > 0; }, 2000));
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(rig.printer.calls, QStringList{QStringLiteral("close")});
    EXPECT_EQ(rig.files.readBytes(kJournalFileName),
              encodeWindows1251(receipt).bytes + QByteArrayLiteral("\r\n"));
    EXPECT_EQ(rig.programEnd.ended, 1);
}

} // namespace
