#include "storage/data_dir.h"

#include <QCoreApplication>

namespace tarvel {

DataDir DataDir::besideExecutable() {
    return DataDir(QCoreApplication::applicationDirPath());
}

} // namespace tarvel
