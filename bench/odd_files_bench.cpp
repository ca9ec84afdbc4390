// The panel and the goods window over data files of odd shapes, offscreen: a header of one
// line of megabytes, goods entries of megabytes, ten megabytes of empty lines. Each figure is
// the time until the window has painted, against the same with the shipped files; the target
// is under a second for any file up to 10 MB.
//
//   build/bench/tarvel_odd_files_bench

#include "journal_sample.h"

#include "register/cash_register.h"
#include "storage/codepage.h"
#include "storage/settings.h"
#include "ui/directory_window.h"
#include "ui/panel_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <functional>

using namespace tarvel;
using namespace tarvel::bench;

namespace {

struct NoSettings : SettingsStore {
    QString read(const QString&, const QString& defaultValue) const override {
        return defaultValue;
    }
    void write(const QString&, const QString&) override {}
};

double msSince(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e6;
}

// Notes the first paint of the widgets it watches.
struct PaintSeen : QObject {
    bool painted = false;
    bool eventFilter(QObject*, QEvent* e) override {
        painted = painted || e->type() == QEvent::Paint;
        return false;
    }
    // Runs the event loop until a paint; the milliseconds since `t` started.
    double wait(const QElapsedTimer& t) {
        while (!painted && t.elapsed() < 600000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        return msSince(t);
    }
};

// Runs `action`, then the event loop until `widget` has painted; the milliseconds it took.
double untilPainted(QWidget* widget, const std::function<void()>& action) {
    PaintSeen seen;
    widget->installEventFilter(&seen);
    QElapsedTimer t;
    t.start();
    action();
    widget->update();
    const double ms = seen.wait(t);
    widget->removeEventFilter(&seen);
    return ms;
}

struct Shape {
    const char* name;
    QByteArray bytes;
};

QByteArray lines(qsizetype total, qsizetype lineLength) {
    const QByteArray line = QByteArray(lineLength, 'x') + "\r\n";
    return line.repeated(total / line.size());
}

void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

constexpr qsizetype kMB = 1 << 20;

// Start-up to the painted panel, and a receipt closed (the header reloaded onto the tape).
void headerFigures(const Shape& shape) {
    QTemporaryDir dir;
    write(dir.filePath(kHeaderFileName), shape.bytes);
    QuietPlatform p;
    CashRegister reg({p.clock, p.regional, p.printer, p.programEnd, DataDir(dir.path())});
    // As main() starts: the register loads, then the panel is built and shown.
    QElapsedTimer t;
    t.start();
    reg.start();
    auto panel = std::make_unique<PanelWindow>(reg, p.settings);
    PaintSeen seen;
    panel->installEventFilter(&seen);
    panel->show();
    const double start = seen.wait(t);
    panel->removeEventFilter(&seen);
    const auto click = [&](const char* name) {
        QTest::mouseClick(panel->findChild<QAbstractButton*>(name), Qt::LeftButton);
    };
    const double receipt = untilPainted(panel.get(), [&] {
        for (const char* key : {"Command1", "CommandVV", "CommandEnter", "CommandVV"})
            click(key);
    });
    std::printf("| clishe.txt: %-34s | %9.1f ms | %9.1f ms |\n", shape.name, start, receipt);
}

// The goods window shown, and its longest entry copied onto the receipt tape.
void goodsFigures(const Shape& shape) {
    QTemporaryDir dir;
    write(dir.filePath(kHeaderFileName), encodeWindows1251(kDefaultHeader).bytes);
    write(dir.filePath(kGoodsFileName), shape.bytes);
    QuietPlatform p;
    NoSettings settings;
    CashRegister reg({p.clock, p.regional, p.printer, p.programEnd, DataDir(dir.path())});
    reg.start();
    PanelWindow panel(reg, p.settings);
    panel.show();
    if (!QTest::qWaitForWindowExposed(&panel)) std::fprintf(stderr, "panel not shown\n");
    DirectoryWindow goods(reg, {p.regional, p.messages, settings, DataDir(dir.path())},
                          [&panel] { panel.render(); });
    auto* list = goods.findChild<QListView*>("sprav");
    const double shown = untilPainted(list->viewport(), [&] { goods.show(); });
    const double copied = untilPainted(&panel, [&] {
        list->setCurrentIndex(list->model()->index(0, 0));
        goods.copyEntryToTape();
    });
    std::printf("| spravoch.txt: %-32s | %9.1f ms | %9.1f ms |\n", shape.name, shown, copied);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::printf("| Header file | Start-up, painted | Receipt closed, painted |\n|---|---|---|\n");
    for (const Shape& shape : {
             Shape{"shipped header", encodeWindows1251(kDefaultHeader).bytes},
             Shape{"one line of 1 MB", QByteArray(kMB, 'x')},
             Shape{"one line of 10 MB", QByteArray(10 * kMB, 'x')},
             Shape{"10 MB in lines of 100 KB", lines(10 * kMB, 100 * 1024)},
             Shape{"10 MB of empty lines", lines(10 * kMB, 0)},
         })
        headerFigures(shape);
    std::printf("\n| Goods file | Window shown, painted | First entry onto the tape |\n"
                "|---|---|---|\n");
    for (const Shape& shape : {
             Shape{"20 short entries", lines(600, 28)},
             Shape{"two lines of 5 MB", lines(10 * kMB, 5 * kMB)},
             Shape{"one line of 10 MB", QByteArray(10 * kMB, 'x')},
             Shape{"10 MB of 30-character entries", lines(10 * kMB, 30)},
         })
        goodsFigures(shape);
    return 0;
}
