// Tarvel: the cashier's trainer. Starts the register beside its executable, shows its front
// panel and runs until the panel is closed.

#include "platform/program.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    app.setApplicationName(tarvel::kProgramTitle);
    tarvel::Program program(tarvel::DataDir::besideExecutable());
    program.show();
    return app.exec();
}
