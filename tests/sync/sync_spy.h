#pragma once
// The system's flush to disk watched from inside the test program: the call the storage makes
// (fdatasync on Linux, FlushFileBuffers on Windows) is noted with the file it flushed and that
// file's size then, and passed on.

#include <QList>
#include <QString>

namespace tarvel::test {

struct SyncSeen {
    QString path; // absolute, with '/' between the folders
    qint64 size = 0;
};

// Starts watching (once is enough) and hands out what was seen since the last clear().
QList<SyncSeen>& syncsSeen();

} // namespace tarvel::test
