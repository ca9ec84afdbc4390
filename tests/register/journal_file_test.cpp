#include "storage/text_files.h"
#include "support/fakes.h"

#include <QDir>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>

using namespace tarvel;
using namespace tarvel::test;

// Kept by an append, new after a write through a temporary file.
static quint64 inodeOf(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? quint64(st.st_ino) : 0;
}

constexpr qsizetype kMiB = 1 << 20;

// From any starting file, through random awkward pieces, the file always equals what close writes.
TEST(JournalFile, FileEqualsJournalAfterStartAndEveryAppend) {
    const std::tuple<std::optional<QByteArray>, QString, bool> cases[] = {
        {std::nullopt, "", false},
        {"", "", true},
        {"\xF7\xE5\xEA 1\r\n\r\n\xF7\xE5\xEA 2\r\n\r\n", "чек 1\r\n\r\nчек 2\r\n\r\n", true},
        {"a\r\nb", "a\r\nb\r\n", false},
        {"a\nb\r\n", "a\nb\r\n", true},
        {"a\rb\r\n", "a\r\nb\r\n", false},
        {"a\r\r\n", "a\r\n\r\n", false},
        {QByteArray(16, 'a') + "\rb" + QByteArray(16, 'c') + "\r\n", // past 16 bytes read at once
         QString(16, u'a') + "\r\nb" + QString(16, u'c') + "\r\n", false},
        {"a\r", "a\r\n", false},
        // A CR LF and a lone CR where the read's first megabyte ends.
        {QByteArray(kMiB - 1, 'a') + "\r\nb\r\n", QString(kMiB - 1, u'a') + "\r\nb\r\n", true},
        {QByteArray(kMiB - 1, 'a') + "\rb\r\n", QString(kMiB - 1, u'a') + "\r\nb\r\n", false}};
    const QString alphabet = QStringLiteral("a Я1.\r\n☺€😀");
    std::mt19937 random(7);
    for (const auto& [file, journal, inPlace] : cases) {
        SCOPED_TRACE(file.value_or("none").toStdString());
        RegisterRig rig(QLatin1Char('.'), false);
        const QString path = rig.files.path(kJournalFileName);
        file ? rig.files.writeBytes(kJournalFileName, *file) : rig.files.remove(kJournalFileName);
        quint64 inode = inodeOf(path);
        rig.restart();
        EXPECT_EQ(rig.s().TxtCHLK.text(), journal);
        EXPECT_EQ(rig.files.readBytes(kJournalFileName), closeBytes(journal));
        EXPECT_TRUE(!inPlace || inodeOf(path) == inode);
        for (int step = 0; step < 12; ++step) {
            QString piece = random() % 5 ? QStringLiteral("\r\n") : QString();
            for (int k = int(random() % 12); k > 0; --k)
                piece += alphabet[qsizetype(random() % alphabet.size())];
            inode = inodeOf(path);
            rig.reg->journal().append(piece);
            ASSERT_EQ(rig.files.readBytes(kJournalFileName), closeBytes(rig.s().TxtCHLK.text()));
            EXPECT_TRUE(!piece.startsWith(u"\r\n") || inodeOf(path) == inode) << "rewritten";
        }
        EXPECT_EQ(rig.messages.texts(), file ? QStringList() : QStringList{kCannotFindFile});
    }
}

// A file removed or changed behind the register's back is told once and mended by the next piece.
TEST(JournalFile, FileChangedBehindTheRegisterIsToldOnceAndMendedByTheNextPiece) {
    for (const bool removed : {true, false}) {
        RegisterRig rig;
        const QString path = QDir::toNativeSeparators(rig.files.path(kJournalFileName));
        rig.reg->journal().append(kReceipt);
        removed ? rig.files.remove(kJournalFileName) : rig.files.writeBytes(kJournalFileName, "x");
        rig.reg->journal().append(kReceipt);
        EXPECT_EQ(rig.messages.texts().join(u'|'),
                  "Не удалось записать файл " + path + ": файл " +
                      (removed ? "не найден" : "изменён другой программой") +
                      "\nЧеки пока хранятся только в памяти кассы; касса запишет их в файл со "
                      "следующим чеком или при выключении.");
        rig.reg->journal().append(kReceipt);
        EXPECT_EQ(rig.files.readBytes(kJournalFileName), closeBytes(kReceipt.repeated(3)));
        rig.reg->close();
        EXPECT_EQ(rig.files.readBytes(kJournalFileName), closeBytes(kReceipt.repeated(3)));
        EXPECT_EQ(rig.messages.shown.size(), 1);
    }
}

// A journal that exists but cannot be read is kept in memory only, never written over.
TEST(JournalFile, UnreadableJournalIsNeverWritten) {
    RegisterRig rig(QLatin1Char('.'), false);
    const QString path = QDir::toNativeSeparators(rig.files.path(kJournalFileName));
    rig.files.remove(kJournalFileName);
    ASSERT_TRUE(QDir(rig.files.path({})).mkdir(kJournalFileName));
    rig.restart();
    rig.reg->journal().append(kReceipt);
    rig.reg->close();
    EXPECT_EQ(rig.s().TxtCHLK.text(), kReceipt);
    EXPECT_EQ(rig.messages.texts().join(u'|'),
              "Не могу найти File|Файл журнала " + path +
                  " есть, но прочитать его не удалось: на этом месте стоит каталог.\nЖурнал будет "
                  "вестись только в памяти и в этот файл записан не будет, чтобы не затереть то, "
                  "что в нём хранится.");
}

// A kill leaves the file as a close would: "?" for what windows-1251 lacks, the closing CR LF.
TEST(JournalFile, PiecesSurviveARegisterThatNeverClosed) {
    RegisterRig rig;
    rig.reg->journal().append(kReceipt);
    rig.reg->journal().append(QStringLiteral("\r\nМагазин ☺€") + QChar(0xD83D) + "\r\nx");
    rig.reg->journal().append(QStringLiteral("\r\ny") + QChar(0xD83D)); // only a half, at the end
    rig.restart(); // no close: the process was killed
    EXPECT_EQ(rig.s().TxtCHLK.text(), kReceipt + "\r\nМагазин ?€?\r\nx\r\ny?\r\n");
    EXPECT_TRUE(rig.messages.shown.isEmpty());
}
