#pragma once
// Qt's own words, the buttons of a message box and the file dialog's labels, in Russian like
// everything else the program shows, whatever language the computer is set to.

class QCoreApplication;

namespace tarvel {

// From Qt's translations where the system keeps them (Debian: qt6-translations-l10n), or
// beside the program (its Windows copy: translations\). Without them Qt speaks English.
void useRussianQtTexts(QCoreApplication& app);

} // namespace tarvel
