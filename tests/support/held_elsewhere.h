#pragma once
// Windows only: another program's hold on a file.

#include <QDir>
#include <QString>
#include <gtest/gtest.h>
#include <windows.h>

namespace tarvel::test {

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

} // namespace tarvel::test
