// Which folder the register keeps its files in, and how a new one is filled with the defaults.

#include "storage/data_location.h"
#include "support/disk_faults.h"
#include "support/named_rows.h"
#include "support/temp_files.h"

#include <QDirIterator>
#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;
using enum tarvel::DataFolderSource;
using enum tarvel::DataFolderError::Kind;
using enum tarvel::FileProblem;

namespace {

// A scratch disk: an installed copy (usr/bin, usr/share/tarvel), a home and free room.
struct Sandbox {
    TempDataDir root;

    Sandbox() {
        QDir(root.path({})).mkpath("usr/bin");
        QDir(root.path({})).mkpath("usr/share/tarvel/exercises");
        root.writeBytes("usr/bin/tarvel", "ELF");
        root.writeBytes("usr/share/tarvel/clishe.txt", "default header");
        root.writeBytes("usr/share/tarvel/bazasmen.txt", {});
        root.writeBytes("usr/share/tarvel/spravoch.txt", "default goods");
        root.writeBytes("usr/share/tarvel/exercises/01.toml", "title = 'one'");
    }
    QString path(const QString& name) const { return root.path(name); }
    QStringList defaults() const { return defaultFileFolders(path("usr/bin")); }
    // Every file and folder below the root with its size: what a refusal must leave alone.
    QStringList listing() const {
        QStringList all;
        QDirIterator it(path({}), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            it.next();
            all << it.filePath() + ' ' + QString::number(it.fileInfo().size());
        }
        all.sort();
        return all;
    }
};

struct ChoiceCase : NamedRow {
    const char* requested;        // relative to the sandbox; null when not given
    const char* besideExecutable; // a file put beside usr/bin/tarvel; null for none
    bool perUserKnown;
    DataFolderSource source;
    const char* folder; // relative to the sandbox; "" for none
};

class DataFolderChoiceTest : public testing::TestWithParam<ChoiceCase> {};

// Run as root, the executable's folder is writable in every row: only the data files decide.
TEST_P(DataFolderChoiceTest, FollowsTheRule) {
    const ChoiceCase& c = GetParam();
    Sandbox disk;
    if (c.besideExecutable) disk.root.writeBytes(QString("usr/bin/") + c.besideExecutable, {});
    const DataFolderChoice choice =
        chooseDataFolder({c.requested ? disk.path(c.requested) : QString(), disk.path("usr/bin"),
                          c.perUserKnown ? disk.path("home/.local/share/Tarvel") : QString()});
    EXPECT_EQ(choice.source, c.source);
    EXPECT_EQ(choice.path, *c.folder ? QDir::cleanPath(disk.path(c.folder)) : QString());
}

const ChoiceCase kChoices[] = {
    {"ArgumentOverDataBesideExecutable", "class/a", "clishe.txt", true, Requested, "class/a"},
    {"ArgumentNamedWithDots", "home/../class/./b/", nullptr, true, Requested, "class/b"},
    {"ExecutableFolderWithHeader", nullptr, "clishe.txt", true, BesideExecutable, "usr/bin"},
    {"ExecutableFolderWithJournal", nullptr, "bazasmen.txt", true, BesideExecutable, "usr/bin"},
    {"ExecutableFolderWithGoods", nullptr, "spravoch.txt", true, BesideExecutable, "usr/bin"},
    {"ExecutableFolderWithoutData", nullptr, "other.txt", true, PerUser,
     "home/.local/share/Tarvel"},
    {"NoPerUserFolderKnown", nullptr, nullptr, false, PerUser, ""},
};

INSTANTIATE_TEST_SUITE_P(Rule, DataFolderChoiceTest, testing::ValuesIn(kChoices), rowName);

// An installed copy fills the per-user folder from share/tarvel, keeping the trainee's files.
TEST(DataFolderSeed, FillsOnlyWhatIsMissing) {
    Sandbox disk;
    QDir(disk.path({})).mkpath("home/Tarvel");
    disk.root.writeBytes("home/Tarvel/clishe.txt", "my header");
    const QStringList bin = QDir(disk.path("usr/bin")).entryList(QDir::Files);

    const DataFolderReady ready =
        prepareDataFolder({disk.path("home/Tarvel"), PerUser}, disk.defaults());
    ASSERT_FALSE(ready.error) << ready.error->folder.toStdString();
    EXPECT_EQ(*ready.folder, disk.path("home/Tarvel"));
    EXPECT_EQ(disk.root.readBytes("home/Tarvel/clishe.txt"), "my header");
    EXPECT_TRUE(QFile::exists(disk.path("home/Tarvel/bazasmen.txt")));
    EXPECT_EQ(disk.root.readBytes("home/Tarvel/spravoch.txt"), "default goods");
    EXPECT_EQ(disk.root.readBytes("home/Tarvel/exercises/01.toml"), "title = 'one'");
    EXPECT_EQ(QDir(disk.path("usr/bin")).entryList(QDir::Files), bin);
}

// A named folder is made several levels deep; a build folder's share/tarvel serves as defaults.
TEST(DataFolderSeed, CreatesANamedFolderFromTheBuildDefaults) {
    Sandbox disk;
    QDir(disk.path({})).mkpath("build/share/tarvel");
    disk.root.writeBytes("build/share/tarvel/clishe.txt", "build header");
    const DataFolderReady ready = prepareDataFolder({disk.path("class/a/b"), Requested},
                                                    defaultFileFolders(disk.path("build")));
    ASSERT_TRUE(ready.folder);
    EXPECT_EQ(disk.root.readBytes("class/a/b/clishe.txt"), "build header");
}

// The executable's own folder is used as it is: the register says itself what is missing.
TEST(DataFolderSeed, LeavesTheExecutableFolderAlone) {
    Sandbox disk;
    const QStringList before = disk.listing();
    const DataFolderReady ready =
        prepareDataFolder({disk.path("usr/bin"), BesideExecutable}, disk.defaults());
    EXPECT_TRUE(ready.folder && !ready.error);
    EXPECT_EQ(disk.listing(), before);
}

// A default that cannot be copied in is told by name and reason.
TEST(DataFolderSeed, FailedCopyIsToldByFile) {
    Sandbox disk;
    QDir(disk.path({})).mkpath("home");
    disk.root.writeBytes("home/exercises", "a file where the folder goes");
    const DataFolderReady ready = prepareDataFolder({disk.path("home"), PerUser}, disk.defaults());
    ASSERT_TRUE(ready.error);
    EXPECT_EQ(ready.error->kind, CannotSeed);
    EXPECT_EQ(ready.error->file, "exercises/01.toml");
    EXPECT_EQ(disk.root.readBytes("home/exercises"), "a file where the folder goes");
}

// On a full disk each default is whole or absent: a file already there is never replaced.
TEST(DataFolderSeed, FullDiskLeavesNoEmptyFile) {
    Sandbox disk;
    QDir(disk.path({})).mkpath("home");
    SmallDisk small(disk.path("home"), 1 << 20);
    if (!small.mounted()) GTEST_SKIP() << "no small disk can be mounted here";
    small.fill("filler");
    const DataFolderReady ready =
        prepareDataFolder({disk.path("home/Tarvel"), PerUser}, disk.defaults());
    ASSERT_TRUE(ready.error && ready.error->kind == CannotSeed && ready.error->cause);
    EXPECT_EQ(ready.error->cause->reason, NoSpace);
    const QDir seeded(disk.path("home/Tarvel"));
    QDirIterator files(seeded.path(), QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString name = seeded.relativeFilePath(files.next());
        EXPECT_EQ(disk.root.readBytes("home/Tarvel/" + name),
                  disk.root.readBytes("usr/share/tarvel/" + name))
            << name.toStdString();
    }
}

struct RefusalCase : NamedRow {
    const char* folder;   // relative to the sandbox; "" for none
    const char* readOnly; // a folder made read-only first; null for none
    DataFolderError::Kind kind;
    const char* inTheWay; // the path that stood in the way, under the sandbox; null for none
    FileProblem problem;
};

class DataFolderRefusalTest : public testing::TestWithParam<RefusalCase> {};

TEST_P(DataFolderRefusalTest, TouchesNothing) {
    const RefusalCase& c = GetParam();
    Sandbox disk;
    disk.root.writeBytes("plain", "x");
    if (c.readOnly) {
        QDir(disk.path({})).mkpath(c.readOnly);
        QFile::setPermissions(disk.path(c.readOnly), QFile::ReadOwner | QFile::ExeOwner);
        // Root, and anyone on Windows, writes into it all the same.
        QFile probe(disk.path(c.readOnly) + "/probe");
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            GTEST_SKIP() << "this user writes into read-only folders";
        }
    }
    const QStringList before = disk.listing();
    const QString folder = *c.folder ? disk.path(c.folder) : QString();
    const DataFolderReady ready = prepareDataFolder({folder, Requested}, disk.defaults());
    ASSERT_TRUE(ready.error);
    EXPECT_FALSE(ready.folder);
    EXPECT_EQ(ready.error->kind, c.kind);
    EXPECT_EQ(ready.error->folder, folder);
    if (c.inTheWay)
        EXPECT_EQ(ready.error->cause, (FileError{disk.path(c.inTheWay), c.problem}));
    else
        EXPECT_FALSE(ready.error->cause);
    EXPECT_EQ(disk.listing(), before);
}

const RefusalCase kRefusals[] = {
    {"AFileInItsPlace", "plain", nullptr, NotAFolder, "plain", NotAFile},
    {"AFileOnTheWay", "plain/a/b", nullptr, NotAFolder, "plain", NotAFile},
    {"ReadOnlyFolder", "locked", "locked", NotWritable, "locked", NoPermission},
    {"InsideAReadOnlyFolder", "locked/a/b", "locked", NotWritable, "locked", NoPermission},
    {"NoFolderKnown", "", nullptr, NoFolder, nullptr, Other},
};

INSTANTIATE_TEST_SUITE_P(Refused, DataFolderRefusalTest, testing::ValuesIn(kRefusals), rowName);

} // namespace
