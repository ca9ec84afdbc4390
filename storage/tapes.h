#pragma once
// The two tapes on disk: the receipt header (clishe.txt) and the journal (bazasmen.txt).

#include "panel/panel_state.h"
#include "platform/services.h"
#include "storage/data_dir.h"

#include <optional>

namespace tarvel {

// The message for a data file that is missing or cannot be read.
inline const QString kCannotFindFile = QStringLiteral("Не могу найти File");

enum class JournalLoad {
    Loaded,     // bazasmen.txt was read into the journal
    Missing,    // no file yet (the first run): the close creates it
    Unreadable, // the file exists but could not be read: it must never be overwritten
};

struct TapesLoad {
    std::optional<QString> header; // the header text put on the tape, when clishe.txt was read
    JournalLoad journal = JournalLoad::Missing;
    // The journal text is now exactly the decoded bytes of bazasmen.txt: the journal was empty
    // and the file is already in the form the register writes (see isCanonicalTapeBytes).
    bool journalMatchesFile = false;
};

// Start-up: the receipt tape from clishe.txt, the journal from bazasmen.txt (appended to
// whatever the journal holds). A file that cannot be read is reported with "Не могу найти File"
// and leaves its field as it is. The journal is read even when the header is missing, so a
// missing header can never lead to an empty journal being written over a stored one.
TapesLoad LoadTapes(PanelState& panel, const DataDir& dir, MessageBoxes& messages);

// The two halves of LoadTapes, for a start-up that shows the panel before a long journal is
// read: the header onto the receipt tape...
void loadHeaderTape(PanelState& panel, const DataDir& dir, MessageBoxes& messages,
                    TapesLoad& result);
// ...bazasmen.txt read and decoded, touching no panel state, so it may run on a worker
// thread...
struct JournalRead {
    JournalLoad status = JournalLoad::Missing;
    QString text;           // the journal text rebuilt from the file
    bool canonical = false; // the file is in the form the register writes: text == its bytes
};
JournalRead readJournal(const DataDir& dir);
// ...and the read journal put into the journal field (appended to what it holds).
void applyJournal(PanelState& panel, JournalRead read, MessageBoxes& messages, TapesLoad& result);

// Close: writes the journal followed by CR LF over bazasmen.txt (through a temporary file).
// A failure is told to the trainee, naming the file and the reason. Returns success.
bool SaveJournal(const PanelState& panel, const DataDir& dir, MessageBoxes& messages);

// The header as the receipt tape shows it after a reload, or nothing when clishe.txt cannot
// be read.
std::optional<QString> readHeader(const DataDir& dir);

// Writes the header text followed by CR LF to clishe.txt. Returns an empty string on
// success, otherwise the message for the trainee: characters windows-1251 cannot store are
// refused (named in the message) rather than saved as "?", and a write failure names the file
// and the reason.
QString saveHeader(const DataDir& dir, QStringView text);

} // namespace tarvel
