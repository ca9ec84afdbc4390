#pragma once
// What the trainee is told when the data folder cannot be used; the register does not start.

#include "storage/data_location.h"

#include <QString>

namespace tarvel {

// The message box text, in Russian, naming the folder and the reason.
QString dataFolderMessage(const DataFolderError& error);

} // namespace tarvel
