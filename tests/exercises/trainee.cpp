#include "trainee.h"

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

} // namespace tarvel::test
