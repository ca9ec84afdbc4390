// FlushFileBuffers taken over in this program's own import table: the storage library is linked
// into the executable, so its calls to kernel32 go through that table and land here first.

#include "sync/sync_spy.h"

#include <QDir>
#include <cstring>
#include <windows.h>

namespace tarvel::test {
namespace {

using Flush = BOOL(WINAPI*)(HANDLE);
Flush gRealFlush = nullptr;

QString pathOf(HANDLE file) {
    wchar_t buffer[MAX_PATH * 4];
    const DWORD length = ::GetFinalPathNameByHandleW(file, buffer, DWORD(std::size(buffer)), 0);
    QString path = QString::fromWCharArray(buffer, int(length));
    if (path.startsWith(QLatin1String("\\\\?\\"))) path.remove(0, 4);
    return QDir::fromNativeSeparators(path);
}

BOOL WINAPI watchedFlush(HANDLE file) {
    LARGE_INTEGER size{};
    ::GetFileSizeEx(file, &size);
    syncsSeen().append({pathOf(file), size.QuadPart});
    return gRealFlush(file);
}

// The executable's import slot for kernel32's FlushFileBuffers.
Flush* importSlot() {
    auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    auto* module = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
    for (; module->Name != 0; ++module) {
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->OriginalFirstThunk);
        auto* entries = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++entries) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* byName =
                reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), "FlushFileBuffers") == 0)
                return reinterpret_cast<Flush*>(&entries->u1.Function);
        }
    }
    return nullptr;
}

void watch() {
    Flush* slot = importSlot();
    if (!slot) return; // nothing imports it: the test then finds no flush and fails
    DWORD protection = 0;
    ::VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
    gRealFlush = *slot;
    *slot = watchedFlush;
    ::VirtualProtect(slot, sizeof *slot, protection, &protection);
}

} // namespace

QList<SyncSeen>& syncsSeen() {
    static QList<SyncSeen> seen;
    static const bool watching = (watch(), true);
    Q_UNUSED(watching);
    return seen;
}

} // namespace tarvel::test
