#include "support/temp_files.h"

#include <fcntl.h>
#include <unistd.h>

namespace tarvel::test {

void TempDataDir::writeBytes(const QString& name, const QByteArray& bytes) const {
    QFile f(path(name)); // opened for writing alone, the file is truncated
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size())
        << name.toStdString();
}

QByteArray TempDataDir::readBytes(const QString& name) const {
    QFile f(path(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

RawNamedFile::RawNamedFile(const QString& folder, const QByteArray& name, const QByteArray& bytes)
    : path_(QFile::encodeName(folder) + '/' + name) {
    const int fd = ::open(path_.constData(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    EXPECT_GE(fd, 0) << path_.constData();
    if (fd < 0) return;
    EXPECT_EQ(::write(fd, bytes.constData(), std::size_t(bytes.size())), bytes.size());
    ::close(fd);
}

RawNamedFile::~RawNamedFile() {
    ::unlink(path_.constData());
}

} // namespace tarvel::test
