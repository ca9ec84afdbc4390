#pragma once
// The end of the session runs the register's close sequence, as the close box does: SIGTERM
// (a shutdown, `kill`), SIGINT (Ctrl+C in a terminal), SIGHUP (the terminal went away), the
// desktop's logout (the session manager's request to save data), and an event loop that ends
// any other way. The signal only writes a byte to a pipe; the close runs later on the GUI
// thread, where it is safe to touch widgets and files.
//
// Usage in main(), after the panel exists:
//     tarvel::SessionEnd sessionEnd([&panel] { panel.close(); });

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace tarvel {

class SessionEnd : public QObject {
  public:
    // `onEnd` runs on the GUI thread, at most once. There is one SessionEnd at a time.
    explicit SessionEnd(std::function<void()> onEnd, QObject* parent = nullptr);
    // Puts back the signal handlers that were there before.
    ~SessionEnd() override;

    // Whether the session has ended: what comes after a start-up step is then left undone.
    bool ended() const { return ended_; }
    // Whether the system ended it (a signal, the desktop's logout) rather than the program's own
    // close: nobody may be there to answer a question then.
    bool endedBySystem() const { return bySystem_; }

    SessionEnd(const SessionEnd&) = delete;
    SessionEnd& operator=(const SessionEnd&) = delete;

  private:
    void end();
    void readSignal();

    std::function<void()> onEnd_;
    bool ended_ = false;
    bool bySystem_ = false;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace tarvel
