#include "support/trainee.h"

#include <QJsonDocument>
#include <QProcess>
#include <gtest/gtest.h>

namespace tarvel::test {

void work(RegisterRig& rig, const QString& keys, const QString& typed, KeyLogWriter* log) {
    qint64 ms = 0;
    for (const QString& caption : keys.split(u' ', Qt::SkipEmptyParts)) {
        KeyLogEntry entry;
        entry.ms = ms += 250;
        if (caption == u"⌨") {
            rig.typeHeader(typed);
            entry.text = typed;
        } else {
            const std::vector<Key> key = keysOf(caption);
            ASSERT_EQ(key.size(), 1u) << "no key " << caption.toStdString();
            entry.key = key.front();
            rig.reg->press(key.front());
        }
        if (log) {
            ASSERT_EQ(log->add(entry), QString());
        }
    }
}

QJsonArray cellsByPython(const QString& file) {
    QProcess python;
    python.start(QStringLiteral("python3"),
                 {QStringLiteral(TARVEL_SOURCE_DIR "/tests/support/read_results.py"), file});
    if (!python.waitForStarted()) return {};
    python.waitForFinished();
    EXPECT_EQ(python.readAllStandardError(), QByteArray());
    return QJsonDocument::fromJson(python.readAllStandardOutput()).array();
}

} // namespace tarvel::test
