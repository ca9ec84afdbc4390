#include "qt/session_end.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tarvel {

#ifdef Q_OS_UNIX
namespace {

constexpr std::array<int, 3> kEndSignals = {SIGTERM, SIGINT, SIGHUP};

// The one self-pipe: the handler may only do async-signal-safe things, so it writes the
// signal's number here and the GUI thread does the rest.
int gPipe[2] = {-1, -1};
std::array<struct sigaction, kEndSignals.size()> gPrevious{};
std::array<bool, kEndSignals.size()> gInstalled{};

extern "C" void onEndSignal(int signal) {
    const int savedErrno = errno;
    const char byte = char(signal);
    [[maybe_unused]] const ssize_t written = ::write(gPipe[1], &byte, 1);
    errno = savedErrno;
}

bool openPipe() {
    if (::pipe(gPipe) != 0) return false;
    for (int fd : gPipe)
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    // A burst of signals never blocks the handler on a full pipe.
    ::fcntl(gPipe[1], F_SETFL, ::fcntl(gPipe[1], F_GETFL) | O_NONBLOCK);
    ::fcntl(gPipe[0], F_SETFL, ::fcntl(gPipe[0], F_GETFL) | O_NONBLOCK);
    return true;
}

void installHandlers() {
    struct sigaction action {};
    action.sa_handler = onEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kEndSignals.size(); ++i) {
        struct sigaction previous {};
        ::sigaction(kEndSignals[i], nullptr, &previous);
        // A signal the starter chose to ignore (nohup, a background job) stays ignored.
        if (previous.sa_handler == SIG_IGN) continue;
        gInstalled[i] = ::sigaction(kEndSignals[i], &action, &gPrevious[i]) == 0;
    }
}

// After the first signal a second one acts as it would without the register (ends the
// program at once): the journal file is already true, so nothing is lost by that.
void restoreHandlers() {
    for (std::size_t i = 0; i < kEndSignals.size(); ++i) {
        if (gInstalled[i]) ::sigaction(kEndSignals[i], &gPrevious[i], nullptr);
        gInstalled[i] = false;
    }
}

} // namespace
#endif

SessionEnd::SessionEnd(std::function<void()> onEnd, QObject* parent)
    : QObject(parent), onEnd_(std::move(onEnd)) {
#ifdef Q_OS_UNIX
    if (openPipe()) {
        notifier_ = new QSocketNotifier(gPipe[0], QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, &SessionEnd::readSignal);
        installHandlers();
    }
#endif
    if (auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        // Logout: the desktop asks the program to save its data before it goes.
        connect(gui, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) {
            bySystem_ = true;
            end();
        });
    }
    if (auto* app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, &SessionEnd::end);
}

SessionEnd::~SessionEnd() {
#ifdef Q_OS_UNIX
    restoreHandlers();
    delete notifier_;
    for (int& fd : gPipe) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
#endif
}

void SessionEnd::readSignal() {
#ifdef Q_OS_UNIX
    char bytes[16];
    while (::read(gPipe[0], bytes, sizeof bytes) > 0) {
    }
    restoreHandlers();
#endif
    bySystem_ = true;
    end();
}

void SessionEnd::end() {
    if (ended_) return;
    ended_ = true;
    if (onEnd_) onEnd_();
}

} // namespace tarvel
