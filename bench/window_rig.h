#pragma once
// The panel as main() starts it over a given data directory, on the quiet platform, and the
// few measuring tools the window benchmark's children share.

#include "journal_sample.h"

#include "register/cash_register.h"
#include "ui/directory_window.h"
#include "ui/journal_view.h"
#include "ui/panel_window.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

namespace tarvel::bench {

struct Register {
    QuietPlatform platform;
    std::unique_ptr<CashRegister> reg;
    std::unique_ptr<PanelWindow> panel;
    std::unique_ptr<DirectoryWindow> goods;

    // `journalInBackground` as main() starts the register (read once the panel is painted);
    // the other figures want the journal in place from the start.
    explicit Register(const QString& dir, bool journalInBackground = false) {
        QuietPlatform& p = platform;
        reg = std::make_unique<CashRegister>(
            Services{p.clock, p.regional, p.printer, p.programEnd, DataDir(dir)});
        reg->start(journalInBackground);
        panel = std::make_unique<PanelWindow>(*reg, p.settings);
        goods = std::make_unique<DirectoryWindow>(
            *reg, DirectoryServices{p.regional, p.messages, p.settings, DataDir(dir)},
            [this] { panel->render(); });
        reg->setGoodsWindow(goods.get());
        panel->show();
    }
    QWidget* control(const char* name) const {
        return panel->findChild<QWidget*>(QLatin1String(name));
    }
    JournalView* journal() const { return dynamic_cast<JournalView*>(control("TxtCHLK")); }
    void click(const char* name) const {
        QTest::mouseClick(dynamic_cast<QAbstractButton*>(control(name)), Qt::LeftButton);
    }
};

// Runs the event loop until `widget` has been painted, and the paint pass it belongs to is over.
class PaintWatch : public QObject {
  public:
    // `onPainted` runs once the first paint pass is over, before anything that pass queued.
    explicit PaintWatch(QWidget* widget, std::function<void()> onPainted = {})
        : widget_(widget), onPainted_(std::move(onPainted)) {
        widget->installEventFilter(this);
    }
    ~PaintWatch() override { widget_->removeEventFilter(this); }
    bool wait(int timeoutMs = 30000) {
        if (!painted_) {
            QTimer::singleShot(timeoutMs, &loop_, &QEventLoop::quit);
            loop_.exec();
        }
        return painted_;
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == widget_ && event->type() == QEvent::Paint && !painted_) {
            painted_ = true;
            QTimer::singleShot(0, &loop_, [this] {
                if (onPainted_) onPainted_();
                loop_.quit();
            });
        }
        return false;
    }

  private:
    QWidget* widget_;
    std::function<void()> onPainted_;
    QEventLoop loop_;
    bool painted_ = false;
};

inline qint64 statusKb(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ')[0].toLongLong();
    return -1;
}

inline double msSince(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e6;
}

// Child: the trainee at work right after start-up, as main() starts the panel; prints the
// longest pause of the event loop and what the panel was doing then (pause_child.cpp).
int pauseChild(const QString& dir);

} // namespace tarvel::bench
