// The trainee at work right after start-up, as main() starts the panel: the journal read and
// taken in, receipts rung up, the modes switched, the journal scrolled, the goods window opened
// and closed. A heartbeat every millisecond finds the longest time the event loop was kept from
// the trainee's input, and what the panel was doing then.

#include "window_rig.h"

#include <QCoreApplication>
#include <QScrollBar>
#include <cstdio>
#include <vector>

namespace tarvel::bench {

namespace {

class PauseWatch : public QObject {
  public:
    PauseWatch() {
        beat_.setTimerType(Qt::PreciseTimer);
        beat_.setInterval(1);
        connect(&beat_, &QTimer::timeout, this, [this] {
            const double gap = msSince(sinceBeat_);
            sinceBeat_.restart();
            if (gap > longest_) {
                longest_ = gap;
                during_ = doing_;
            }
        });
        sinceBeat_.start();
        beat_.start();
    }
    void doing(const char* what) { doing_ = what; }
    double longest() const { return longest_; }
    const char* during() const { return during_; }

  private:
    QTimer beat_;
    QElapsedTimer sinceBeat_;
    double longest_ = 0;
    const char* doing_ = "";
    const char* during_ = "";
};

// The event loop left to run for `ms`, as between a trainee's key presses: blocked in the
// system's wait, never asleep, so the heartbeat keeps beating.
void idleFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

struct Step {
    const char* what;
    std::function<void()> act;
};

std::vector<Step> keys(const char* what, const Register& r, std::vector<const char*> names) {
    std::vector<Step> steps;
    for (const char* name : names)
        steps.push_back({what, [&r, name] { r.click(name); }});
    return steps;
}

std::vector<Step> scrolling(const Register& r) {
    QScrollBar* bar = r.journal()->verticalScrollBar();
    const char* what = "scrolling the journal";
    std::vector<Step> steps = keys(what, r, {"KZ", "Btn1D"});
    for (const auto& act : std::vector<std::function<void()>>{
             [bar] { bar->setValue(0); },
             [bar] { bar->setValue(bar->maximum() / 3); },
             [bar] { bar->triggerAction(QAbstractSlider::SliderPageStepSub); },
             [bar] { bar->triggerAction(QAbstractSlider::SliderSingleStepAdd); },
             [bar] { bar->setValue(bar->maximum() * 2 / 3); },
             [bar] { bar->setValue(bar->maximum()); },
         })
        steps.push_back({what, act});
    for (Step& step : keys(what, r, {"KZ"}))
        steps.push_back(step);
    return steps;
}

} // namespace

int pauseChild(const QString& dir) {
    Register r(dir, true);
    if (!PaintWatch(r.panel.get()).wait()) return 2;
    PauseWatch pauses;
    QElapsedTimer t;
    t.start();
    pauses.doing("the journal read and taken in");
    while (r.reg->state().TxtCHLK.text().isEmpty() && t.elapsed() < 60000)
        idleFor(2);
    const double takenIn = msSince(t);

    std::vector<Step> steps;
    for (int receipt = 0; receipt < 5; ++receipt)
        for (Step& step :
             keys("ringing receipts", r,
                  {"Command1", "Command5", "Command0", "CommandVV", "CommandEnter", "CommandVV"}))
            steps.push_back(step);
    for (Step& step : keys("switching modes", r, {"KZ", "Btn1D", "KZ", "KR", "KR", "KCH", "KCH"}))
        steps.push_back(step);
    for (Step& step : scrolling(r))
        steps.push_back(step);
    for (Step& step : keys("opening the goods window", r, {"FC", "FC"}))
        steps.push_back(step);
    for (const Step& step : steps) {
        pauses.doing(step.what);
        step.act();
        idleFor(20);
    }
    if (!r.platform.messages.shown.isEmpty()) std::fprintf(stderr, "message boxes were shown\n");
    std::printf("pause %.3f taken %.1f during %s\n", pauses.longest(), takenIn, pauses.during());
    std::fflush(stdout);
    std::_Exit(0);
}

} // namespace tarvel::bench
