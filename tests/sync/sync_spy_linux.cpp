// fdatasync put in front of the C library's in this program: the storage's calls land here.

#include "sync/sync_spy.h"

#include <QFileInfo>
#include <dlfcn.h>
#include <unistd.h>

namespace tarvel::test {

QList<SyncSeen>& syncsSeen() {
    static QList<SyncSeen> seen;
    return seen;
}

} // namespace tarvel::test

extern "C" int fdatasync(int fd) {
    using Real = int (*)(int);
    static const Real real = reinterpret_cast<Real>(::dlsym(RTLD_NEXT, "fdatasync"));
    const QString link = QStringLiteral("/proc/self/fd/%1").arg(fd);
    const QFileInfo file(QFileInfo(link).symLinkTarget());
    tarvel::test::syncsSeen().append({file.absoluteFilePath(), file.size()});
    return real(fd);
}
