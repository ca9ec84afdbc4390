// The crash test's driver: the program as main() builds it, over the data folder named first on
// the command line, with the panel keys named after it (Command1, CommandVV ...) clicked in
// order once the event loop runs. It then writes "pressed <n>" to standard output and runs on
// until it is killed or its session ends.

#include "app/program.h"
#include "register/key.h"
#include "ui/panel_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>
#include <cstdio>

using namespace tarvel;

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    app.setApplicationName(kProgramTitle);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: %s <data folder> <key name>...\n", argv[0]);
        return 2;
    }
    const Started<std::unique_ptr<Program>> started = Program::start(DataDir(args[1]));
    if (!started) {
        QtMessageBoxes messages;
        tellStartProblem(started.problem(), messages);
        return 1;
    }
    Program& program = **started;
    program.show();
    QTimer::singleShot(0, &program.panel(), [&program, names = args.mid(2)] {
        int pressed = 0;
        for (const QString& name : names) {
            const std::optional<Key> key = keyFromName(name);
            auto* button = key ? program.panel().findChild<QAbstractButton*>(name) : nullptr;
            if (button && button->isVisible()) {
                button->click();
                ++pressed;
            } else {
                std::fprintf(stderr, "no visible key %s\n", qPrintable(name));
            }
        }
        std::printf("pressed %d\n", pressed);
        std::fflush(stdout);
    });
    return app.exec();
}
