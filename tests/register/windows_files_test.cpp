// What Windows says about files, as the trainee reads it: the causes from Windows' own error
// codes, and the faults a Windows classroom has for real: a journal or a results file held open
// by another program (a spreadsheet, an antivirus scan, a backup), or a file marked read-only.

#include "storage/durable_append.h"
#include "storage/text_files.h"
#include "support/fakes.h"
#include "support/named_rows.h"

#include <QDir>
#include <gtest/gtest.h>
#include <windows.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

// The causes no test can make on demand, from the code a failed call leaves.
TEST(WindowsFileProblems, CausesFromTheSystemsErrorCodes) {
    TempDataDir files;
    const QString inFolder = files.path("f");
    const QString noFolder = files.path("none/f");
    QDir(files.folder()).mkdir("folder");
    const std::tuple<DWORD, QString, QString> cases[] = {
        {ERROR_DISK_FULL, inFolder, "нет места на диске"},
        {ERROR_HANDLE_DISK_FULL, inFolder, "нет места на диске"},
        {ERROR_ACCESS_DENIED, inFolder, "нет прав доступа"},
        {ERROR_ACCESS_DENIED, files.path("folder"), "на этом месте стоит каталог"},
        {ERROR_WRITE_PROTECT, inFolder, "диск доступен только для чтения"},
        {ERROR_SHARING_VIOLATION, inFolder, "файл занят другой программой — закройте её"},
        {ERROR_LOCK_VIOLATION, inFolder, "файл занят другой программой — закройте её"},
        {ERROR_FILE_NOT_FOUND, inFolder, "файл не найден"},
        {ERROR_FILE_NOT_FOUND, noFolder, "нет такого каталога"},
        {ERROR_PATH_NOT_FOUND, noFolder, "нет такого каталога"},
        {ERROR_BAD_NETPATH, noFolder, "нет такого каталога"},
        {ERROR_FILENAME_EXCED_RANGE, inFolder, "слишком длинный путь или имя файла"},
        {ERROR_NETNAME_DELETED, inFolder, "ошибка ввода-вывода на диске"},
        {ERROR_TOO_MANY_OPEN_FILES, inFolder, "системная ошибка 4"},
    };
    for (const auto& [code, path, text] : cases)
        EXPECT_EQ(reasonText({path, problemFromSystemError(int(code), path), int(code)}), text)
            << code;
}

// Another program's handle on a file that lets no one else in, as Excel keeps a workbook.
class HeldElsewhere {
  public:
    explicit HeldElsewhere(const QString& path)
        : handle_(::CreateFileW(
              reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(path).utf16()),
              GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
              nullptr)) {
        EXPECT_NE(handle_, INVALID_HANDLE_VALUE);
    }
    ~HeldElsewhere() { ::CloseHandle(handle_); }
    HeldElsewhere(const HeldElsewhere&) = delete;
    HeldElsewhere& operator=(const HeldElsewhere&) = delete;

  private:
    HANDLE handle_;
};

bool markReadOnly(const QString& path, bool readOnly) {
    const auto name = reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(path).utf16());
    return ::SetFileAttributesW(name, readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
}

struct FileCall : NamedRow {
    std::function<std::optional<FileError>(const QString&)> call;
};

const FileCall kCalls[] = {
    {"Read", [](const QString& path) { return readFileBytes(path).error; }},
    {"Append", [](const QString& path) { return appendDurably(path, "чек\r\n"); }},
    {"Replace", [](const QString& path) { return writeFileWhole(path, "шапка"); }},
};

class WindowsFileHeld : public testing::TestWithParam<FileCall> {};

// A file another program holds is told as such, not as a missing right or a broken disk.
TEST_P(WindowsFileHeld, IsToldAsInUse) {
    TempDataDir files;
    files.writeBytes("results.csv", "a;b\r\n");
    {
        const HeldElsewhere spreadsheet(files.path("results.csv"));
        const std::optional<FileError> error = GetParam().call(files.path("results.csv"));
        ASSERT_TRUE(error);
        EXPECT_EQ(reasonText(*error), "файл занят другой программой — закройте её");
    }
    EXPECT_FALSE(GetParam().call(files.path("results.csv"))) << "the file was let go";
}

INSTANTIATE_TEST_SUITE_P(Calls, WindowsFileHeld, testing::ValuesIn(kCalls), rowName);

// A header file marked read-only in its properties may be read but not replaced. (An append
// to such a file is refused by Windows itself; wine run as root lets it through.)
TEST(WindowsFileReadOnly, IsToldAsNoPermission) {
    TempDataDir files;
    files.writeBytes("clishe.txt", "шапка\r\n");
    ASSERT_TRUE(markReadOnly(files.path("clishe.txt"), true));
    EXPECT_FALSE(readFileBytes(files.path("clishe.txt")).error);
    const std::optional<FileError> error = writeFileWhole(files.path("clishe.txt"), "шапка");
    ASSERT_TRUE(error);
    EXPECT_EQ(reasonText(*error), "нет прав доступа");
    EXPECT_EQ(files.readBytes("clishe.txt"), "шапка\r\n");
    markReadOnly(files.path("clishe.txt"), false);
}

// The journal held by another program while receipts close: the trainee is told once, with
// the cause, the receipts wait in memory, and the first receipt after the file is let go
// brings the file up to date.
TEST(WindowsJournalHeld, IsToldAndCaughtUpAfter) {
    RegisterRig rig;
    rig.reg->journal().append(kReceipt);
    {
        const HeldElsewhere backup(rig.files.path(kJournalFileName));
        rig.reg->journal().append(kReceipt);
        rig.reg->journal().append(kReceipt);
    }
    ASSERT_EQ(rig.messages.texts().size(), 1);
    EXPECT_TRUE(
        rig.messages.texts().first().contains(": файл занят другой программой — закройте её\n"))
        << rig.messages.texts().first().toStdString();
    rig.reg->journal().append(kReceipt);
    EXPECT_EQ(rig.files.readBytes(kJournalFileName), closeBytes(kReceipt.repeated(4)));
}

} // namespace
