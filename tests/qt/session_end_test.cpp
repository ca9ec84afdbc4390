#include "qt/session_end.h"

#include <QTest>
#include <csignal>
#include <gtest/gtest.h>

using namespace tarvel;

namespace {

class SessionEndSignal : public testing::TestWithParam<int> {};

// Each ending signal runs the close once, later on the GUI thread (never inside the handler),
// and gives the signal back its former meaning, so a second one ends a program whose close hangs.
TEST_P(SessionEndSignal, RunsTheCloseOnceAndRestoresTheHandler) {
    const int signal = GetParam();
    struct sigaction before {
    }, after{};
    sigaction(signal, nullptr, &before);
    int closes = 0;
    {
        SessionEnd sessionEnd([&] { ++closes; });
        std::raise(signal);
        EXPECT_EQ(closes, 0) << "the close must not run inside the signal handler";
        EXPECT_TRUE(QTest::qWaitFor([&] { return closes > 0; }, 2000));
        sigaction(signal, nullptr, &after);
        EXPECT_EQ(after.sa_handler, before.sa_handler);
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(closes, 1);
}

INSTANTIATE_TEST_SUITE_P(Signals, SessionEndSignal, testing::Values(SIGTERM, SIGINT, SIGHUP));

// A signal the program was started to ignore (nohup) stays ignored.
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

} // namespace
